// Sources of [[files]] rules: patterns, recursion, stored names, and the facts of each file.
#include <gtest/gtest.h>

#include <cstdlib>

#include "qvin/project/errors.h"
#include "qvin/project/file_plan.h"
#include "qvin/project/project_file.h"
#include "qvin/project/source_filter.h"
#include "tool/tool_fixture.h"

namespace {

using qvin_test::TempDir;
using qvin_test::write_file;

TEST(FilePlan, GlobPatterns) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  };
  const Case cases[] = {
      {"*.dll", "a.dll", true},    {"*.dll", "a.dll.bak", false}, {"a?c", "abc", true},
      {"a?c", "ac", false},        {"[ab]*.txt", "b1.txt", true}, {"[!ab]*", "a", false},
      {"[a-c]x", "bx", true},      {"*", "", true},               {"*a*b", "xaxxb", true},
      {"readme", "README", false},
  };
  for (const auto& c : cases) EXPECT_EQ(qvin::glob_match(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

TEST(FilePlan, SourcesBecomeSortedStoredNames) {
  TempDir dir;
  for (const char* f : {"bin/b.dll", "bin/a.dll", "bin/a.txt", "bin/sub/c.dll", "bin/sub/deeper/d.dll", "one.txt"})
    write_file(dir / f, f);
  struct Case {
    const char* label;
    std::string rule;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"one file", "source = \"one.txt\"", {"one.txt"}},
      {"renamed", "source = \"one.txt\"\nname = \"docs/first.txt\"", {"docs\\first.txt"}},
      {"pattern", "source = \"bin/*.dll\"", {"a.dll", "b.dll"}},
      {"recursive pattern", "source = \"bin/*.dll\"\nrecursive = true",
       {"a.dll", "b.dll", "sub\\c.dll", "sub\\deeper\\d.dll"}},
      {"directory", "source = \"bin/sub\"\nrecursive = true\nsubdirectory = \"lib\"",
       {"lib\\c.dll", "lib\\deeper\\d.dll"}},
      {"list", "source = [\"one.txt\", \"bin/a.txt\"]", {"one.txt", "a.txt"}},
  };
  for (const auto& c : cases) {
    const qvin::Project p = qvin::parse_project("[product]\nname = \"x\"\n[[files]]\n" + c.rule + "\n", dir / "p.toml");
    std::vector<std::string> names;
    for (const auto& s : qvin::expand_sources(p.files[0], p.base_dir)) names.push_back(s.stored_name);
    EXPECT_EQ(names, c.names) << c.label;
  }
}

TEST(FilePlan, ExcludePatternsMatchPathsSegmentBySegment) {
  struct Case {
    const char* pattern;
    const char* path;
    bool match;
  };
  const Case cases[] = {
      {"sub/*.dll", "sub/c.dll", true},          {"sub/*.dll", "sub/deeper/d.dll", false},
      {"*/c.dll", "sub/c.dll", true},            {"**/d.dll", "d.dll", true},
      {"**/d.dll", "sub/deeper/d.dll", true},    {"sub/**/d.dll", "sub/d.dll", true},
      {"sub/**", "sub/x/y", true},               {"sub/**/x", "other/x", false},
      {"/sub", "sub", true},                     {"s?b/[cd].dll", "sub/c.dll", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(qvin::path_glob_match(c.pattern, c.path), c.match) << c.pattern << " " << c.path;
}

TEST(FilePlan, ExcludeAndDotFilesFilterWhatPatternsAndWalksFind) {
  TempDir dir;
  for (const char* f : {"bin/a.dll", "bin/a.pdb", "bin/.cache.dll", "bin/sub/c.dll", "bin/sub/c.pdb",
                        "bin/sub/deeper/d.dll", "bin/tests/t.dll", "bin/.git/g.dll", "bin/.env", "bin/plugins/old/p.dll",
                        "bin/plugins/new/p.dll"})
    write_file(dir / f, f);
  struct Case {
    const char* label;
    std::string rule;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"walks skip dot files and dot directories", "source = \"bin\"\nrecursive = true",
       {"a.dll", "a.pdb", "plugins\\new\\p.dll", "plugins\\old\\p.dll", "sub\\c.dll", "sub\\c.pdb",
        "sub\\deeper\\d.dll", "tests\\t.dll"}},
      {"by name at any depth", "source = \"bin/*\"\nrecursive = true\nexclude = \"*.pdb\"",
       {"a.dll", "plugins\\new\\p.dll", "plugins\\old\\p.dll", "sub\\c.dll", "sub\\deeper\\d.dll",
        "tests\\t.dll"}},
      {"a named directory is pruned", "source = \"bin/*.dll\"\nrecursive = true\nexclude = [\"tests\", \"deeper/\"]",
       {"a.dll", "plugins\\new\\p.dll", "plugins\\old\\p.dll", "sub\\c.dll"}},
      {"by sub-path", "source = \"bin/*.dll\"\nrecursive = true\nexclude = ['plugins\\old', \"sub/*.dll\", \"tests/**\"]",
       {"a.dll", "plugins\\new\\p.dll", "sub\\deeper\\d.dll"}},
      {"anchored", "source = \"bin/*.dll\"\nrecursive = true\nexclude = [\"/c.dll\", \"**/p.dll\", \"/sub/*/\"]",
       {"a.dll", "sub\\c.dll", "tests\\t.dll"}},
      {"a trailing / names directories only", "source = \"bin/*\"\nexclude = \"a.dll/\"", {"a.dll", "a.pdb"}},
      {"dot_files takes them", "source = \"bin/*.dll\"\nrecursive = true\ndot_files = true\nexclude = \"[pst]*/\"",
       {".cache.dll", ".git\\g.dll", "a.dll"}},
      {"a pattern starting with a dot", "source = \"bin/.*\"", {".cache.dll", ".env"}},
      {"a dot file named outright", "source = [\"bin/.env\", \"bin/.git/g.dll\"]", {".env", "g.dll"}},
  };
  for (const auto& c : cases) {
    const qvin::Project p = qvin::parse_project("[product]\nname = \"x\"\n[[files]]\n" + c.rule + "\n", dir / "p.toml");
    std::vector<std::string> names;
    for (const auto& s : qvin::expand_sources(p.files[0], p.base_dir)) names.push_back(s.stored_name);
    EXPECT_EQ(names, c.names) << c.label;
  }
}

TEST(FilePlan, ASourceThatCannotBeFoundIsNamed) {
  TempDir dir;
  write_file(dir / "bin" / "a.txt", "a");
  struct Case {
    std::string source;
    std::string message;
  };
  const Case cases[] = {
      {"source = \"gone.dll\"", "cannot read \"" + (dir / "gone.dll").string() + "\": no such file"},
      {"source = \"bin/*.dll\"", "\"bin/*.dll\" matches no file"},
      {"source = \"bin\"", "is a directory; add recursive = true"},
      {"source = \"nodir/*.dll\"", "\"" + (dir / "nodir").string() + "\": no such directory"},
      {"source = \"b*/a.txt\"", "wildcards are allowed only in the file name part"},
      {"source = \"bin/*.txt\"\nexclude = \"a*\"", "\"bin/*.txt\" matches no file once exclude patterns and "
                                                    "dot files are left out (1 left out)"},
      {"source = \"*\"\nrecursive = true\nexclude = \"bin/\"", "\"*\" matches no file once exclude patterns and "
                                                              "dot files are left out (1 left out)"},
  };
  for (const auto& c : cases) {
    const qvin::Project p = qvin::parse_project("[product]\nname = \"x\"\n[[files]]\n" + c.source + "\n", dir / "p.toml");
    try {
      qvin::plan_files(p, std::nullopt);
      ADD_FAILURE() << c.source << ": no error";
    } catch (const qvin::ProjectError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.source << "\n  got: " << e.what();
      EXPECT_NE(std::string(e.what()).find("p.toml:3:1: files.source: "), std::string::npos) << e.what();
    }
  }
}

TEST(FilePlan, FactsComeFromTheFilesUnlessOverridden) {
  TempDir dir;
  write_file(dir / "v.dll", qvin_test::make_pe(qvin_test::version_block("2, 5, 0, 1", "040904b0", 0x04B00409u)));
  write_file(dir / "plain.dll", "no program");
  write_file(dir / "data.bin", "0123456789");
  const qvin::Project p = qvin::parse_project(R"([product]
name = "x"
[[files]]
source = "v.dll"
kind = "versioned"
[[files]]
source = "plain.dll"
kind = "system"
[[files]]
source = "data.bin"
kind = "com-server"
version = "9.9"
time = 2001-02-03T04:05:06
checksum = 77
size = 4
)",
                                              dir / "p.toml");
  const auto records = qvin::plan_files(p, 1000000000);  // SOURCE_DATE_EPOCH in 2001
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].entry.text, "2.5.0.1");
  EXPECT_EQ(records[0].entry.time, (core::FileTime{2001, 9, 9, 1, 46, 40})) << "clamped to the epoch, in UTC";
  EXPECT_EQ(records[1].entry.text, "") << "no version resource: empty version";
  EXPECT_EQ(records[2].entry.text, "9.9");
  ASSERT_TRUE(records[2].deferred);
  EXPECT_EQ(qvin::deferred_bytes(*records[2].deferred), "0123") << "cut to the size";
  EXPECT_EQ(records[2].entry.checksum, 77u);
  EXPECT_EQ(records[2].entry.time, (core::FileTime{2001, 2, 3, 4, 5, 6}));
}

// The planner keeps no copy of the data; the writer reads each file again and refuses
// one whose bytes are no longer those that were planned (cut and padded ones alike).
TEST(FilePlan, DataIsReadAgainAndAChangedFileIsRefused) {
  TempDir dir;
  write_file(dir / "a.bin", "abcdef");
  const qvin::Project p = qvin::parse_project(
      "[product]\nname = \"x\"\n[[files]]\nsource = \"a.bin\"\n[[files]]\nsource = \"a.bin\"\nname = "
      "\"b.bin\"\nsize = 8\n",
      dir / "p.toml");
  const auto records = qvin::plan_files(p, std::nullopt);
  ASSERT_EQ(records.size(), 2u);
  for (const auto& r : records) {
    ASSERT_TRUE(r.deferred);
    EXPECT_TRUE(r.data.empty());
  }
  EXPECT_EQ(records[0].data_size(), 6);
  EXPECT_EQ(qvin::deferred_bytes(*records[1].deferred), std::string("abcdef\0\0", 8)) << "zero-padded";
  struct Case {
    const char* now;
    bool same;
  };
  for (const Case& c : {Case{"abcdef", true}, Case{"abcdeF", false}, Case{"abcde", false}, Case{"abcdefg", false}}) {
    write_file(dir / "a.bin", c.now);
    for (const auto& r : records) {
      try {
        qvin::deferred_bytes(*r.deferred);
        EXPECT_TRUE(c.same) << c.now;
      } catch (const qvin::ProjectError& e) {
        EXPECT_FALSE(c.same) << c.now;
        EXPECT_NE(std::string(e.what()).find("changed while the installer was being built"), std::string::npos)
            << e.what();
      }
    }
  }
  std::filesystem::remove(dir / "a.bin");
  EXPECT_THROW(qvin::deferred_bytes(*records[0].deferred), qvin::ProjectError);
}

}  // namespace
