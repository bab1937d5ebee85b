// The project file: every key read into the model, defaults, and mistakes reported at
// their place.
#include <gtest/gtest.h>

#include "qvin/project/errors.h"
#include "qvin/project/project_file.h"
#include "qvin/project/text_encoding.h"
#include "tool/tool_fixture.h"

namespace {

using qvin_test::TempDir;
using qvin_test::write_file;

qvin::Project parse(const TempDir& dir, const std::string& text) {
  return qvin::parse_project(text, dir / "p.toml");
}

std::string error_of(const TempDir& dir, const std::string& text) {
  try {
    parse(dir, text);
  } catch (const qvin::ProjectError& e) {
    return e.what();
  }
  return "(no error)";
}

const char* const kMinimal = "[product]\nname = \"Hello\"\n[[files]]\nsource = \"hello.exe\"\n";

TEST(ProjectFile, AMinimalProjectGetsWorkingDefaults) {
  TempDir dir;
  const qvin::Project p = parse(dir, kMinimal);
  const auto& s = p.settings;
  EXPECT_EQ(s.stored_product_name, "Hello");
  EXPECT_EQ(s.flags, archive::flag::UninstallSupport | archive::flag::CompressData | archive::flag::AskInstallDirectory);
  EXPECT_EQ(s.uninstaller_name, "Uninstall.exe");
  EXPECT_EQ(s.uninstall_subdir, "Uninstall");
  ASSERT_EQ(s.languages.language_count(), 1);
  EXPECT_EQ(s.languages.language_name(0), "English");
  EXPECT_EQ(s.languages.string_count(), 72);
  ASSERT_EQ(p.files.size(), 1u);
  EXPECT_EQ(p.files[0].sources[0], "hello.exe");
  EXPECT_EQ(p.files[0].kind, 0u);
  EXPECT_EQ(p.files[0].attributes, -1);
}

TEST(ProjectFile, ReadsNamedValuesIntoStoredCodes) {
  TempDir dir;
  write_file(dir / "licence.txt", "Caf\xC3\xA9 licence\n");
  write_file(dir / "bg.bmp", qvin_test::make_bmp());
  write_file(dir / "folder.ico", qvin_test::make_ico());
  write_file(dir / "patch.bin", "PATCH");
  const qvin::Project p = parse(dir, R"(
[product]
name = "Hello"
master_product = "Base"
[install]
shortcut_mode = "all-users"
excluded_systems = ["win95", "winme"]
desktop_folder_icon = "folder.ico"
uninstaller_stamp = 2024-05-01T12:30:15
[appearance]
title_color = "#102030"
title_position = "bottom-right"
bitmap = "bg.bmp"
stretch_mode = "fit"
[texts]
licence = "licence.txt"
[archive]
data_placement = "file"
volume_size = "2M"
uninstaller_patch = { offset = 64, file = "patch.bin" }
[flags]
compress_data = false
full_screen_background = true
[[files]]
source = "a/*.dll"
recursive = true
kind = "com-server"
existence = "if-absent"
permanent = true
attributes = ["read-only", "hidden"]
version = "1.0"
time = 2020-01-02
destination = "%SystemDir%\\"
[[deletions]]
files = "%InstallDir%\\*.tmp /s"
condition = "date-on-or-after"
value = 2023-02-03T04:05:06
delete_at_restart = true
[[deletions]]
files = "old.dat"
condition = "size-at-most"
value = 0
[[associations]]
extension = ".hi"
verb = "open"
default_verb = true
language = "German"
[[uninstall_values]]
name = "EstimatedSize"
type = "dword"
data = 120
[[languages]]
name = "English"
[[languages]]
name = "German"
strings = { 0 = "Hallo Setup", 100 = "extra" }
)");
  const auto& s = p.settings;
  EXPECT_NE(s.flags & archive::flag::AddOn, 0u) << "master_product implies add_on";
  EXPECT_NE(s.flags & archive::flag::InstallBackgroundBitmap, 0u) << "a bitmap implies install_background_bitmap";
  EXPECT_EQ(s.flags & archive::flag::CompressData, 0u) << "an explicit flag wins";
  EXPECT_EQ(s.flags2, archive::flag2::VerifyInstallerChecksum | archive::flag2::FullScreenBackground);
  EXPECT_EQ(s.shortcut_mode, 1);
  EXPECT_EQ(s.excluded_systems, 4 | 16);
  EXPECT_EQ(qvin::from_core(s.desktop_folder_icon), qvin_test::make_ico());
  EXPECT_EQ(s.uninstaller_stamp, (core::FileTime{2024, 5, 1, 12, 30, 15}));
  EXPECT_EQ(s.title_color, 0x302010);
  EXPECT_EQ(s.title_position, 6);
  EXPECT_EQ(qvin::from_core(s.bitmap), qvin_test::make_bmp().substr(14));
  EXPECT_EQ(s.bitmap_size, 100);
  EXPECT_EQ(s.stretch_mode, 1);
  ASSERT_EQ(s.licence_texts.count(), 1);
  EXPECT_EQ(s.licence_texts[0], "Caf\xE9 licence\r\n");
  EXPECT_EQ(s.data_placement, 1);
  EXPECT_EQ(p.volume_size, 2 * 1024 * 1024);
  EXPECT_EQ(s.uninstaller_patch.offset, 64);
  EXPECT_EQ(s.uninstaller_patch.bytes, "PATCH");
  const auto& f = p.files[0];
  EXPECT_EQ(f.kind, 7u);
  EXPECT_EQ(f.flags, 12u | 0x20u);
  EXPECT_EQ(f.attributes, 3);
  EXPECT_EQ(f.version, "1.0");
  EXPECT_EQ(f.time, (core::FileTime{2020, 1, 2, -1, 0, 0}));
  ASSERT_EQ(s.deletion_rules.count(), 2);
  EXPECT_TRUE(s.deletion_rules[0] == (archive::FileDeletion{"%InstallDir%\\*.tmp /s", 2, "2023-02-03 04:05:06", 2}));
  EXPECT_TRUE(s.deletion_rules[1] == (archive::FileDeletion{"old.dat", 6, "0", 0}));
  EXPECT_EQ(s.file_associations[0].flags, archive::association_flag::DefaultVerb);
  EXPECT_TRUE(s.uninstall_values[0] == (archive::UninstallData{"EstimatedSize", 4, "120"}));
  ASSERT_EQ(s.languages.language_count(), 2);
  EXPECT_EQ(s.languages.stored(0, 1), "Hallo Setup");
  EXPECT_EQ(s.languages.stored(100, 1), "extra");
  EXPECT_EQ(s.languages.string_count(), 101) << "every language has the same ids";
  EXPECT_EQ(s.languages.stored(49, 1), "Abbrechen");
}

TEST(ProjectFile, ReportsEachMistakeAtItsPlace) {
  TempDir dir;
  write_file(dir / "notes.txt", "some notes");
  const std::string files = "[[files]]\nsource = \"x\"\n";
  struct Case {
    const char* label;
    std::string text;
    const char* message;
  };
  const Case cases[] = {
      {"TOML syntax", "[product]\nname = \"a\nb\"\n", "p.toml:2:"},
      {"unknown table", "[prodcut]\nname = \"a\"\n", "p.toml:1:2: unknown table \"prodcut\""},
      {"unknown key", "[product]\nname = \"a\"\nnmae = \"b\"\n" + files,
       "p.toml:3:1: unknown key \"product.nmae\""},
      {"unknown key in a list", "[product]\nname = \"a\"\n" + files + "sorce = \"y\"\n",
       "p.toml:5:1: unknown key \"files[0].sorce\""},
      {"unknown flag", "[product]\nname = \"a\"\n[flags]\nautomagic = true\n" + files,
       "p.toml:4:1: unknown flag \"flags.automagic\""},
      {"wrong type", "[product]\nname = 5\n" + files,
       "p.toml:2:8: product.name: expected a text, found an integer"},
      {"out of range", "[product]\nname = \"a\"\n[install]\nmin_status_time = 10000\n" + files,
       "p.toml:4:19: install.min_status_time: expected an integer from 0 to 9999, found 10000"},
      {"unknown name", "[product]\nname = \"a\"\n[[files]]\nsource = \"x\"\nkind = \"dll\"\n",
       "p.toml:5:8: files[0].kind: expected one of \"install\""},
      {"no product", files, "p.toml:1:1: the [product] table is required"},
      {"blank product name", "[product]\nname = \" \"\n" + files, "p.toml:2:8: product.name: cannot be blank"},
      {"no files", "[product]\nname = \"a\"\n", "has no [[files]] entry"},
      {"font without face", "[product]\nname = \"a\"\n[[files]]\nsource = \"f.ttf\"\nkind = \"font\"\n",
       "p.toml:3:1: files[0].font_name: a font needs its face name"},
      {"shortcut of a shared file",
       "[product]\nname = \"a\"\n[[files]]\nsource = \"x\"\nkind = \"shared\"\ndesktop_shortcut = true\n",
       "p.toml:6:20: files[0].desktop_shortcut: shortcuts are made only for"},
      {"kind without directory", "[product]\nname = \"a\"\n[[files]]\nsource = \"x\"\nkind = \"path\"\n",
       "files[0].destination: kind 2 has no directory of its own"},
      {"rename of a pattern",
       "[product]\nname = \"a\"\n[[files]]\nsource = \"*.txt\"\ndestination = \"b.txt\"\n",
       "p.toml:5:15: files[0].destination: a destination without '\\' renames the file"},
      {"missing picture", "[product]\nname = \"a\"\n[appearance]\nbitmap = \"none.bmp\"\n" + files,
       "p.toml:4:10: appearance.bitmap: cannot read"},
      {"not a picture", "[product]\nname = \"a\"\n[appearance]\nbitmap = \"notes.txt\"\n" + files,
       "appearance.bitmap: \"notes.txt\" is not a bitmap"},
      {"not in Windows-1252", "[product]\nname = \"\xE6\x97\xA5\"\n" + files,
       "p.toml:2:8: product.name: character U+65E5"},
      {"placeholder the runtime does not supply",
       "[product]\nname = \"a\"\n[[languages]]\nname = \"English\"\nstrings = { 19 = \"%d bytes\" }\n" + files,
       "p.toml:5:18: languages[0].strings.19: the runtime formats this text with \"%s%c%s\""},
      {"language without texts", "[product]\nname = \"a\"\n[[languages]]\nname = \"Klingon\"\n" + files,
       "p.toml:4:8: languages[0].name: no built-in texts for \"Klingon\""},
      {"language listed twice",
       "[product]\nname = \"a\"\n[[languages]]\nname = \"German\"\n[[languages]]\nname = \"German\"\n" + files,
       "p.toml:6:8: languages[1].name: \"German\" is listed twice"},
      {"association for a missing language",
       "[product]\nname = \"a\"\n" + files + "[[associations]]\nextension = \".a\"\nverb = \"open\"\nlanguage = \"French\"\n",
       "p.toml:8:12: associations[0].language: \"French\" is not one of the project's languages"},
      {"deletion value without condition",
       "[product]\nname = \"a\"\n" + files + "[[deletions]]\nfiles = \"*.tmp\"\nvalue = 3\n",
       "p.toml:7:9: deletions[0].value: a value needs a condition"},
      {"date condition with a number",
       "[product]\nname = \"a\"\n" + files + "[[deletions]]\nfiles = \"*.tmp\"\ncondition = \"date-equal\"\nvalue = 3\n",
       "deletions[0].value: expected a date"},
      {"patch without uninstall support",
       "[product]\nname = \"a\"\n[flags]\nuninstall_support = false\n[archive]\nuninstaller_patch = { offset = 1, file = \"notes.txt\" }\n" + files,
       "archive.uninstaller_patch: needs flags.uninstall_support"},
      {"exclude with files named outright",
       "[product]\nname = \"a\"\n[[files]]\nsource = [\"x\", \"y\"]\nexclude = \"x\"\n",
       "p.toml:5:11: files[0].exclude: the sources name files outright, which are always taken"},
      {"dot_files with a file named outright", "[product]\nname = \"a\"\n" + files + "dot_files = true\n",
       "p.toml:5:13: files[0].dot_files: the sources name files outright"},
      {"empty exclude pattern",
       "[product]\nname = \"a\"\n[[files]]\nsource = \"*\"\nexclude = [\"*.tmp\", \"/\"]\n",
       "p.toml:5:11: files[0].exclude: an empty pattern"},
      {"too small volumes", "[product]\nname = \"a\"\n[archive]\nvolume_size = 100\n" + files,
       "p.toml:4:15: archive.volume_size: volumes must hold at least 4096 bytes"},
  };
  for (const auto& c : cases) {
    const std::string got = error_of(dir, c.text);
    EXPECT_NE(got.find(c.message), std::string::npos) << c.label << "\n  got: " << got;
  }
}

TEST(ProjectFile, AMissingProjectFileIsNamed) {
  try {
    qvin::load_project("/nonexistent/p.toml");
    FAIL() << "no error";
  } catch (const qvin::ProjectError& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent/p.toml: cannot read the project file"), std::string::npos);
  }
}

}  // namespace
