// The qvin commands end to end, in process: build the documented complete project, read
// it back with info, list, verify and extract, damage it, and check exit codes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

#include "qvin/commands/commands.h"
#include "tool/documented_project.h"
#include "tool/json_parse.h"
#include "tool/tool_fixture.h"

namespace {

namespace fs = std::filesystem;
using qvin_test::read_file;
using qvin_test::TempDir;
using qvin_test::write_file;

struct CliRun {
  int code;
  std::string out, err;
};

CliRun qvin_run(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int code = qvin::run_cli(args, out, err);
  return {code, out.str(), err.str()};
}

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    qvin_test::write_documented_inputs(dir_);
  }
  void TearDown() override { unsetenv("SOURCE_DATE_EPOCH"); }

  CliRun build(const std::string& project, const std::string& out, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"build", (dir_ / project).string(), "--stub", (dir_ / "stub.exe").string(),
                                     "-o", (dir_ / out).string(), "-q"};
    args.insert(args.end(), extra.begin(), extra.end());
    return qvin_run(args);
  }

  TempDir dir_;
};

TEST_F(Cli, TheDocumentedProjectBuildsAndInfoShowsEveryValueAsWritten) {
  const CliRun b = build("project.toml", "setup.exe");
  ASSERT_EQ(b.code, 0) << b.err;
  const CliRun info = qvin_run({"info", (dir_ / "setup.exe").string(), "--json"});
  ASSERT_EQ(info.code, 0) << info.err;
  const toml::table json = qvin_test::parse_json(info.out);

  qvin_test::expect_shows_documented_project(json, dir_);

  // The file table: the rules' files in order, with the facts read from the files.
  const auto& files = *json["files"].as_array();
  ASSERT_EQ(files.size(), 7u);
  const char* names[] = {"hello.exe", "docs\\a.txt", "docs\\deep\\b.txt", "hello-startup.exe",
                         "helper.dll", "HelloSans.ttf", "notes.txt"};
  for (size_t i = 0; i < files.size(); ++i) EXPECT_EQ(json["files"][i]["name"].value<std::string>(), names[i]);
  EXPECT_EQ(json["files"][0]["shortcut_name"].value<std::string>(), "Hello");
  EXPECT_EQ(json["files"][0]["desktop_shortcut"].value<bool>(), true);
  EXPECT_EQ(json["files"][0]["time"].value<std::string>(), "2023-11-14T22:13:20") << "clamped to SOURCE_DATE_EPOCH";
  EXPECT_EQ(json["files"][1]["time"].value<std::string>(), "2024-01-01T00:00:00");
  EXPECT_EQ(json["files"][1]["existence"].value<std::string>(), "if-absent");
  EXPECT_EQ(json["files"][3]["kind"].value<std::string>(), "startup");
  EXPECT_EQ(json["files"][4]["version"].value<std::string>(), "1.2.0.0") << "the project's version wins";
  EXPECT_EQ(json["files"][5]["font_name"].value<std::string>(), "Hello Sans (TrueType)");
  EXPECT_EQ(json["files"][6]["size"].value<int64_t>(), 10);
  EXPECT_EQ(json["files"][6]["installs_to"].value<std::string>(), "%WinDir%\\notes.txt");
  EXPECT_GE(json["counts"]["volumes"].value<int64_t>(), 0);
}

TEST_F(Cli, ExtractReturnsEveryFileByteForByte) {
  ASSERT_EQ(build("project.toml", "setup.exe").code, 0);
  const fs::path out = dir_ / "out";
  const CliRun x = qvin_run({"extract", (dir_ / "setup.exe").string(), "-d", out.string(), "-q"});
  ASSERT_EQ(x.code, 0) << x.err << x.out;
  const std::pair<const char*, std::string> expected[] = {
      {"hello.exe", read_file(dir_ / "hello.exe")},
      {"docs/a.txt", "alpha"},
      {"docs/deep/b.txt", std::string(200000, 'b')},
      {"hello-startup.exe", read_file(dir_ / "hello.exe")},
      {"helper.dll", read_file(dir_ / "helper.dll")},
      {"HelloSans.ttf", std::string(3000, 'F')},
      {"notes.txt", "these note"},
  };
  for (const auto& [name, bytes] : expected) EXPECT_EQ(read_file(out / name), bytes) << name;
  EXPECT_FALSE(fs::exists(out / "docs" / "deep" / "skip.bin"));
  EXPECT_EQ(qvin_run({"extract", (dir_ / "setup.exe").string(), "--test"}).code, 0);
}

// A build with fewer volumes than the last one removes the volumes it no longer has, and
// nothing else.
TEST_F(Cli, StaleVolumesOfAnEarlierBuildGo) {
  const std::string files = "[[files]]\nsource = \"docs/deep/b.txt\"\n[[files]]\nsource = \"notes.txt\"\n";
  write_file(dir_ / "many.toml", "[product]\nname = \"V\"\n[archive]\nvolume_size = 16384\nvolume_base_name = \"V\"\n"
                                 "compression_level = 0\n" + files);
  write_file(dir_ / "one.toml", "[product]\nname = \"V\"\n[archive]\nvolume_base_name = \"V\"\n" + files);
  const CliRun many = build("many.toml", "v.exe");
  ASSERT_EQ(many.code, 0) << many.err;
  ASSERT_TRUE(fs::exists(dir_ / "V2.QVA"));
  ASSERT_TRUE(fs::exists(dir_ / "V3.QVA"));
  write_file(dir_ / "V40.QVA", "after a gap: not one of the sequence");
  write_file(dir_ / "W2.QVA", "another installer's");
  ASSERT_EQ(build("one.toml", "v.exe").code, 0);
  EXPECT_FALSE(fs::exists(dir_ / "V2.QVA"));
  EXPECT_FALSE(fs::exists(dir_ / "V3.QVA"));
  EXPECT_TRUE(fs::exists(dir_ / "W2.QVA"));
  EXPECT_TRUE(fs::exists(dir_ / "V40.QVA"));
  EXPECT_EQ(qvin_run({"verify", (dir_ / "v.exe").string()}).code, 0);
}

TEST_F(Cli, VerifyNamesTheDamageWithTheInstallersOwnCode) {
  write_file(dir_ / "small.toml",
             "[product]\nname = \"Small\"\n[archive]\nvolume_size = 16384\nvolume_base_name = \"SMALL\"\n"
             "compression_level = 0\n[[files]]\nsource = \"docs/deep/b.txt\"\n[[files]]\nsource = \"notes.txt\"\n");
  write_file(dir_ / "bad-sum.toml",
             "[product]\nname = \"Bad\"\n[[files]]\nsource = \"notes.txt\"\nchecksum = 1234\n");
  ASSERT_EQ(build("small.toml", "small.exe").code, 0);
  ASSERT_EQ(build("bad-sum.toml", "bad.exe").code, 0);
  ASSERT_EQ(qvin_run({"verify", (dir_ / "small.exe").string()}).code, 0);

  const CliRun info = qvin_run({"info", (dir_ / "small.exe").string(), "--json"});
  const toml::table json = qvin_test::parse_json(info.out);
  const int64_t section = *json["layout"]["section_offset"].value<int64_t>();
  const int64_t block = section + 36 + 4 * 2;
  const int64_t data = block + *json["layout"]["block_size"].value<int64_t>();
  ASSERT_GE(json["layout"]["volumes"].as_array()->size(), 2u);

  struct Case {
    const char* label;
    const char* file;
    int64_t offset;
    std::vector<int> codes;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"header block", "small.exe", block + 10, {25, 47}, "header block"},
      {"data in the installer", "small.exe", data + 5, {55}, "data checksum"},
      {"data in a volume", "SMALL2.QVA", 100, {55}, "data checksum"},
      {"volume identifier", "SMALL3.QVA", 0, {}, "SMALL3.QVA"},
      {"program bytes", "small.exe", 0x40, {40}, "executable checksum"},
      {"file checksum", "bad.exe", -1, {100}, "checksum"},
  };
  for (const auto& c : cases) {
    const fs::path damaged = dir_ / "damaged";
    fs::remove_all(damaged);
    fs::create_directories(damaged);
    for (const auto& f : fs::directory_iterator(dir_.path()))
      if (f.is_regular_file()) fs::copy_file(f.path(), damaged / f.path().filename());
    if (c.offset >= 0) {
      std::string bytes = read_file(damaged / c.file);
      ASSERT_LT(c.offset, static_cast<int64_t>(bytes.size())) << c.label;
      bytes[static_cast<size_t>(c.offset)] ^= 0x10;
      write_file(damaged / c.file, bytes);
    }
    const std::string installer = (damaged / (std::string(c.file) == "bad.exe" ? "bad.exe" : "small.exe")).string();
    const CliRun v = qvin_run({"verify", installer});
    EXPECT_EQ(v.code, 1) << c.label << ": " << v.out << v.err;
    EXPECT_NE(v.err.find(c.message), std::string::npos) << c.label << ": " << v.err;
    bool code_named = c.codes.empty();
    for (int code : c.codes) code_named |= v.err.find("error code " + std::to_string(code) + ":") != std::string::npos;
    EXPECT_TRUE(code_named) << c.label << ": " << v.err;
  }
  fs::remove(dir_ / "SMALL2.QVA");
  const CliRun missing = qvin_run({"verify", (dir_ / "small.exe").string()});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("SMALL2.QVA"), std::string::npos) << missing.err;
}

TEST_F(Cli, BuildingTwiceGivesIdenticalFiles) {
  // Each build in its own directory, volumes included.
  for (const char* where : {"first", "second"}) {
    fs::create_directories(dir_ / where);
    ASSERT_EQ(build("project.toml", std::string(where) + "/setup.exe").code, 0) << where;
  }
  int files = 0;
  for (const auto& f : fs::directory_iterator(dir_ / "first")) {
    EXPECT_EQ(read_file(f.path()), read_file(dir_ / "second" / f.path().filename())) << f.path();
    ++files;
  }
  EXPECT_GE(files, 1);
}

TEST_F(Cli, AFailingBuildLeavesNoOutputAndKeepsTheOldOne) {
  write_file(dir_ / "setup.exe", "OLD INSTALLER");
  write_file(dir_ / "missing.toml", "[product]\nname = \"M\"\n[[files]]\nsource = \"nowhere/x.dll\"\n");
  write_file(dir_ / "not-a-stub.exe", "this is no program");
  const auto listing = [&] {
    std::set<std::string> names;
    for (const auto& f : fs::directory_iterator(dir_.path())) names.insert(f.path().filename().string());
    return names;
  };
  const auto before = listing();
  const CliRun missing = build("missing.toml", "setup.exe");
  EXPECT_EQ(missing.code, 2);
  EXPECT_NE(missing.err.find("missing.toml:3:1: files.source: cannot read \"" + (dir_ / "nowhere" / "x.dll").string() +
                             "\": no such file"),
            std::string::npos)
      << missing.err;
  const CliRun bad_stub = qvin_run({"build", (dir_ / "project.toml").string(), "--stub", (dir_ / "not-a-stub.exe").string(),
                                 "-o", (dir_ / "setup.exe").string(), "-q"});
  EXPECT_EQ(bad_stub.code, 2);
  EXPECT_EQ(read_file(dir_ / "setup.exe"), "OLD INSTALLER");
  EXPECT_EQ(listing(), before) << "no temporary or volume file is left";
}

TEST_F(Cli, NamesThatLeaveTheDirectoryAreNeitherBuiltNorExtracted) {
  // What the runtime refuses as damage, the build refuses with the reason.
  struct Refused {
    const char* key;
    const char* value;  // as the project file writes it
    const char* reason;
  };
  const Refused refused[] = {
      {"name", "'..\\escaped.txt'", "a \".\" or \"..\" component"},
      {"name", "'C:\\boot.ini'", "a ':'"},
      {"name", "\"two\\nlines.txt\"", "a control character"},
      {"destination", "'%InstallDir%\\..\\..\\'", "a \".\" or \"..\" component"},
  };
  for (const Refused& r : refused) {
    write_file(dir_ / "evil.toml", std::string("[product]\nname = \"Evil\"\n[[files]]\nsource = \"notes.txt\"\n") +
                                       r.key + " = " + r.value + "\n");
    const CliRun run = build("evil.toml", "evil.exe");
    EXPECT_EQ(run.code, 2) << r.value;
    EXPECT_NE(run.err.find(r.reason), std::string::npos) << r.value << ": " << run.err;
  }
  // A device name is fine on Windows below a directory of the installer's, but not for
  // extraction on any system.
  write_file(dir_ / "evil.toml",
             "[product]\nname = \"Evil\"\n"
             "[[files]]\nsource = \"notes.txt\"\nname = 'sub\\NUL.txt'\n"
             "[[files]]\nsource = \"notes.txt\"\nname = 'fine.txt'\n");
  ASSERT_EQ(build("evil.toml", "evil.exe").code, 0);
  const fs::path out = dir_ / "x" / "out";
  const CliRun x = qvin_run({"extract", (dir_ / "evil.exe").string(), "-d", out.string(), "-q"});
  EXPECT_EQ(x.code, 1);
  EXPECT_NE(x.out.find("refused: \"sub\\NUL.txt"), std::string::npos) << x.out;
  EXPECT_TRUE(fs::exists(out / "fine.txt"));
}

TEST_F(Cli, DefinesSetTheVersionAndVerboseListsTheFiles) {
  const auto version_of = [&](const std::string& exe) {
    const CliRun info = qvin_run({"info", (dir_ / exe).string(), "--json"});
    return qvin_test::parse_json(info.out)["product"]["version"].value<std::string>();
  };
  ASSERT_EQ(build("project.toml", "default.exe").code, 0);
  EXPECT_EQ(version_of("default.exe"), "1.2") << "the [defines] default";
  const CliRun b = qvin_run({"build", (dir_ / "project.toml").string(), "--stub", (dir_ / "stub.exe").string(), "-o",
                             (dir_ / "defined.exe").string(), "-D", "version=1.2.3", "--verbose"});
  ASSERT_EQ(b.code, 0) << b.err;
  EXPECT_EQ(version_of("defined.exe"), "1.2.3");
  const std::string listed[] = {"   5 B  install      docs\\a.txt\n", " 195.3 KiB  install      docs\\deep\\b.txt\n",
                                " 2.9 KiB  font         HelloSans.ttf\n", "wrote " + (dir_ / "defined.exe").string() + " ("};
  for (const auto& line : listed) EXPECT_NE(b.out.find(line), std::string::npos) << line << "\n" << b.out;
  EXPECT_EQ(b.out.find("a-old.txt"), std::string::npos) << "excluded";
  EXPECT_NE(b.out.find("7 file(s), 205.8 KiB of data stored in "), std::string::npos) << "the summary as well";
  const CliRun list = qvin_run({"list", (dir_ / "defined.exe").string()});
  EXPECT_NE(list.out.find("     3000 B  "), std::string::npos) << list.out;
}

TEST_F(Cli, ExitCodesAndUsage) {
  write_file(dir_ / "plain.txt", "not an installer");
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* text;  // in the output or the error stream
  };
  const Case cases[] = {
      {{}, 2, "usage: qvin COMMAND"},
      {{"--version"}, 0, "qvin "},
      {{"--help"}, 0, "commands:"},
      {{"frobnicate"}, 2, "unknown command \"frobnicate\""},
      {{"build"}, 2, "expected one project file"},
      {{"build", "a.toml", "--arch", "arm"}, 2, "--arch: expected x64 or x86"},
      {{"build", "a.toml", "-l", "12"}, 2, "--level: expected 0 to 9"},
      {{"build", "a.toml", "-D", "version"}, 2, "--define version: expected NAME=VALUE"},
      {{"build", "a.toml", "-D", "9=x"}, 2, "--define 9=x: expected NAME=VALUE"},
      {{"build", "a.toml", "-q", "-v"}, 2, "--quiet and --verbose exclude each other"},
      {{"build", (dir_ / "project.toml").string(), "--stub", (dir_ / "stub.exe").string(), "-D", "verison=2"}, 2,
       "-D verison: no text of the project uses ${verison}"},
      {{"build", "--help"}, 0, "-D, --define NAME=VALUE"},
      {{"list", "--help"}, 0, "usage: qvin list INSTALLER"},
      {{"extract", "--bogus", "x"}, 2, "unknown option --bogus"},
      {{"info", (dir_ / "plain.txt").string()}, 1, "plain.txt"},
      {{"verify", (dir_ / "nothing.exe").string()}, 1, "nothing.exe"},
      {{"build", (dir_ / "nothing.toml").string(), "--stub", (dir_ / "stub.exe").string()}, 2, "cannot read the project file"},
  };
  for (const auto& c : cases) {
    const CliRun r = qvin_run(c.args);
    std::string label;
    for (const auto& a : c.args) label += a + " ";
    EXPECT_EQ(r.code, c.code) << label << "\n" << r.out << r.err;
    EXPECT_NE((r.out + r.err).find(c.text), std::string::npos) << label << "\n" << r.out << r.err;
  }
}

}  // namespace
