// Path rules on text: validity, absolute paths, directory and file-name parts, drives,
// joining, resolving and rounding.
#include "core/paths.h"

#include <gtest/gtest.h>

#include <string>

namespace core {
namespace {

std::string text_of(const String& s) { return std::string(s.text(), static_cast<size_t>(s.length())); }

TEST(Paths, ValidityFollowsTheChosenCharacterSet) {
  using namespace path_check;
  struct Case {
    const char* path;
    uint32_t flags;
    bool valid;
  };
  const Case cases[] = {
      {"C:\\Program Files\\App", 0, true},
      {"C:\\App*", 0, false},
      {"C:\\App*", AllowStar, true},
      {"C:\\App?", AllowStar, false},
      {"C:\\App*\\?.txt", AllowWildcards, true},
      {"C:\\App*\\?.txt", AllowWildcards | AllowStar, true},  // the wider set wins
      {"1:\\App", 0, false},
      {"\"C:\\Program Files\\App\"", 0, true},  // one pair of quotes is dropped
      {"\"C:\\App\" x", 0, false},              // a quote that does not surround it stays
      {"C:\\a:b", 0, false},                    // only the drive's colon is excused
      {"C:\\a;b", 0, false},
      {"C:\\a|b", AllowWildcards, false},
      {"dir/sub", 0, false},
      {"relative\\dir", 0, true},
      {"\\\\server\\share", 0, true},
      {"", 0, false},
      {"\"\"", 0, false},  // quotes around nothing are no path
      {"  C:\\App  ", 0, false},  // untrimmed, the colon is not second and so not excused
      {"  \"C:\\App\"  ", Trim, true},
      {"  \"C:\\App\"  ", 0, false},  // untrimmed, the quotes are not at the ends
      {" \t ", Trim, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " flags " + std::to_string(c.flags));
    EXPECT_EQ(is_valid_path(c.path, c.flags), c.valid);
  }
  EXPECT_FALSE(is_valid_path(nullptr, 0));
}

TEST(Paths, AbsolutePathsAreNetworkPathsOrDriveRoots) {
  struct Case {
    const char* path;
    bool absolute;
  };
  const Case cases[] = {
      {"\\\\server\\share", true}, {"C:\\", true},      {"  D:\\x", true}, {"C:App", false},
      {"\\dir", false},            {"dir\\x", false},   {"", false},       {"C:", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(is_absolute_path(c.path), c.absolute);
  }
  EXPECT_FALSE(is_absolute_path(nullptr));
}

TEST(Paths, PartsOfAPath) {
  struct Case {
    const char* path;
    const char* directory;
    const char* file_name;
  };
  const Case cases[] = {
      {"C:\\x", "C:\\", "x"},
      {"C:x", "C:", "x"},
      {"dir\\x", "dir", "x"},
      {"\\x", "", "x"},
      {"x", "", "x"},
      {"", "", ""},
      {"C:\\", "C:\\", ""},
      {"C:", "C:", ""},
      {"C:\\a\\b\\c.txt", "C:\\a\\b", "c.txt"},
      {"C:\\a\\b\\", "C:\\a\\b", ""},
      {"\\\\server\\share\\f", "\\\\server\\share", "f"},
      // Only the part before the first ';' outside quotes is looked at.
      {"C:\\a\\b;C:\\c\\d", "C:\\a", "d"},
      {"\"C:\\a;b\\c\"", "\"C:\\a;b", "c\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(text_of(directory_part(c.path)), c.directory);
    EXPECT_EQ(text_of(file_name_part(c.path)), c.file_name);
  }
}

TEST(Paths, Drives) {
  struct Case {
    const char* path;
    const char* prefix;
    char letter;
  };
  const Case cases[] = {
      {"C:\\x", "C:", 'C'}, {"d:\\x", "d:", 'D'}, {"Cabinet", "C:", 0},
      {"1:\\x", "", 0},     {"\\\\srv\\s", "", 0}, {"", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(text_of(drive_prefix(c.path)), c.prefix);
    EXPECT_EQ(drive_letter(c.path), c.letter);
  }
  EXPECT_EQ(text_of(drive_text('E')), "E:");
  EXPECT_EQ(text_of(drive_text(0)), "");
  EXPECT_EQ(text_of(drive_text('\\')), "");
}

TEST(Paths, JoinPutsOneSeparatorBetween) {
  struct Case {
    const char* dir;
    const char* name;
    const char* joined;
  };
  const Case cases[] = {
      {"C:\\dir", "f.txt", "C:\\dir\\f.txt"},
      {"C:\\dir\\", "f.txt", "C:\\dir\\f.txt"},
      {"C:\\dir\\", "\\f.txt", "C:\\dir\\f.txt"},
      {"C:\\dir", "\\f.txt", "C:\\dir\\f.txt"},
      {"C:", "f.txt", "C:f.txt"},
      {"", "f.txt", "f.txt"},
      {"C:\\dir", "", "C:\\dir"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.dir) + " + " + c.name);
    EXPECT_EQ(text_of(join_path(c.dir, c.name)), c.joined);
  }
}

TEST(Paths, ResolveMakesRelativePathsAbsolute) {
  struct Case {
    const char* path;
    const char* base;
    bool changed;
    const char* result;
  };
  const Case cases[] = {
      {"app\\bin", "C:\\Program Files", true, "C:\\Program Files\\app\\bin"},
      {"app", "C:\\", true, "C:\\app"},
      {"  app  ", "  C:\\base", true, "C:\\base\\app"},
      {"\\dir", "D:\\base", true, "D:\\dir"},
      {"\\dir", "\\\\server\\share", false, "\\dir"},
      {"E:dir", "C:\\base", true, "E:\\base\\dir"},
      {"E:dir", "C:\\base\\", true, "E:\\base\\dir"},
      {"E:\\dir", "C:\\base", false, "E:\\dir"},
      {"\\\\srv\\share", "C:\\base", false, "\\\\srv\\share"},
      {"app", "base", false, "app"},
      {"app", "C:base", false, "app"},
      {"   ", "C:\\base", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " against " + c.base);
    String path(c.path);
    EXPECT_EQ(resolve_path(path, c.base), c.changed);
    EXPECT_EQ(text_of(path), c.result);
  }
}

TEST(Paths, RoundUpToAUnit) {
  struct Case {
    int64_t size;
    int64_t unit;
    int64_t rounded;
  };
  const Case cases[] = {
      {1, 4096, 4096},   {8192, 4096, 8192},  {8193, 4096, 12288},           {5, 1, 5},
      {5, 0, 5},         {5, -4, 5},          {0, 4096, 0},                  {3, 2, 4},
      {int64_t(5) << 32, 4096, int64_t(5) << 32},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.size) + " to " + std::to_string(c.unit));
    EXPECT_EQ(round_up(c.size, c.unit), c.rounded);
  }
}

TEST(Paths, InvalidCharactersOfNames) {
  struct Case {
    const char* name;
    bool invalid;
  };
  const Case cases[] = {{"file.txt", false}, {"a:b", true}, {"what?", true}, {"a\\b", false}, {"", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(has_invalid_path_char(c.name), c.invalid);
  }
}

}  // namespace
}  // namespace core
