// The flags by name: the project file's name, the reports' name and the stored bit agree
// for every flag, and the documentation lists exactly these flags.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "archive/memory_stream.h"
#include "archive/settings.h"
#include "qvin/commands/settings_report.h"
#include "qvin/project/flag_names.h"
#include "qvin/project/project_file.h"
#include "tool/documented_project.h"

namespace {

using qvin_test::TempDir;

// A project with a background picture (which one of the flags needs) and the volume name
// the build would give it, and one flag set.
qvin::Project project_with(const TempDir& dir, const std::string& flag, bool on) {
  return qvin::parse_project("[product]\nname = \"Hello\"\n[appearance]\nbitmap = \"bg.bmp\"\n"
                             "[archive]\nvolume_base_name = \"HELLO\"\n[flags]\n" + flag +
                                 (on ? " = true\n" : " = false\n") + "[[files]]\nsource = \"hello.exe\"\n",
                             dir / "p.toml");
}

uint32_t word_of(const archive::Settings& s, int word) { return word == 1 ? s.flags : s.flags2; }

TEST(FlagNames, EveryFlagReadsStoresAndReportsAsItsOwnBit) {
  TempDir dir;
  qvin_test::write_file(dir / "bg.bmp", qvin_test::make_bmp());
  std::set<std::pair<int, uint32_t>> bits;
  for (const qvin::FlagName& f : qvin::flag_names()) {
    SCOPED_TRACE(std::string(f.name));
    EXPECT_TRUE(bits.insert({f.word, f.bit}).second) << "a bit named twice";
    EXPECT_EQ(f.bit & (f.bit - 1), 0u) << "one bit";
    const qvin::Project on = project_with(dir, std::string(f.name), true);
    const qvin::Project off = project_with(dir, std::string(f.name), false);
    EXPECT_EQ(word_of(on.settings, f.word) ^ word_of(off.settings, f.word), f.bit);
    EXPECT_EQ(word_of(on.settings, 3 - f.word), word_of(off.settings, 3 - f.word));

    // The stored block carries the bit where the runtime reads it.
    archive::MemoryStream block;
    ASSERT_EQ(archive::write_settings(block, on.settings), archive::CorruptCode::None);
    archive::MemoryStream reading(block.data(), block.size());
    archive::Settings stored;
    ASSERT_EQ(archive::read_settings_flags(reading, stored), archive::CorruptCode::None);
    EXPECT_NE(word_of(stored, f.word) & f.bit, 0u);

    // Both reports name it.
    const toml::table json_on = qvin_test::parse_json(qvin::settings_json(on.settings).dump());
    const toml::table json_off = qvin_test::parse_json(qvin::settings_json(off.settings).dump());
    EXPECT_EQ(json_on["flags"][f.name].value<bool>(), true);
    EXPECT_EQ(json_off["flags"][f.name].value<bool>(), false);
    std::ostringstream text_on, text_off;
    qvin::print_settings(text_on, on.settings);
    qvin::print_settings(text_off, off.settings);
    const std::string line = "\n  " + std::string(f.name) + "\n";
    EXPECT_NE(text_on.str().find(line), std::string::npos);
    EXPECT_EQ(text_off.str().find(line), std::string::npos);
  }
}

TEST(FlagNames, TheDocumentationListsEveryFlag) {
  const std::string doc = qvin_test::read_file(qvin_test::source_root() / "docs" / "project-file.md");
  const size_t start = doc.find("## `[flags]`");
  ASSERT_NE(start, std::string::npos);
  const size_t end = doc.find("\n## ", start + 1);
  std::set<std::string> documented;
  std::istringstream lines(doc.substr(start, end - start));
  for (std::string row; std::getline(lines, row);) {
    if (row.rfind("| `", 0) != 0) continue;
    const std::string names = row.substr(0, row.find(" |", 2));
    for (size_t at = names.find('`'); at != std::string::npos; at = names.find('`', names.find('`', at + 1) + 1))
      documented.insert(names.substr(at + 1, names.find('`', at + 1) - at - 1));
  }
  std::set<std::string> named;
  for (const qvin::FlagName& f : qvin::flag_names()) named.insert(std::string(f.name));
  EXPECT_EQ(documented, named);
}

}  // namespace
