// File patterns on text: lines, ';'-separated patterns, line directories and " /s".
#include "install/file_pattern_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace install {
namespace {

std::string patterns_of(const char* text, const char* default_directory) {
  core::Vector<FilePattern> patterns;
  split_file_patterns(text, default_directory, patterns);
  std::string joined;
  for (const FilePattern& item : patterns) {
    if (!joined.empty()) joined += " | ";
    joined += std::to_string(item.line) + ":" + item.pattern.text();
  }
  return joined;
}

TEST(FileSpecRules, Patterns) {
  struct Case {
    const char* label;
    const char* text;
    const char* default_directory;
    const char* expected;
  };
  const Case cases[] = {
      {"bare pattern takes the default directory", "*.tmp", "C:\\App", "1:C:\\App\\*.tmp"},
      {"absolute pattern stays", "D:\\Data\\*.log", "C:\\App", "1:D:\\Data\\*.log"},
      {"the line's directory applies to bare patterns", "D:\\Data\\*.log; *.bak ;x.txt", "C:\\App",
       "1:D:\\Data\\*.log | 1:D:\\Data\\*.bak | 1:D:\\Data\\x.txt"},
      {"relative line directory under the default one", "sub\\*.txt;*.doc", "C:\\App",
       "1:C:\\App\\sub\\*.txt | 1:C:\\App\\sub\\*.doc"},
      {"recursion suffix kept", "C:\\App\\*.tmp /s;*.bak /S", "", "1:C:\\App\\*.tmp /s | 1:C:\\App\\*.bak /S"},
      {"empty lines and patterns skipped, lines counted", "\r\n  \n*.a;;\r\n\r\nb.txt", "C:\\App",
       "3:C:\\App\\*.a | 5:C:\\App\\b.txt"},
      {"rooted pattern takes the default drive", "\\Temp\\*.tmp", "C:\\App", "1:C:\\Temp\\*.tmp"},
      {"no default: a bare pattern stays relative", "*.tmp", "", "1:*.tmp"},
      {"empty", "", "C:\\App", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(patterns_of(c.text, c.default_directory), c.expected);
  }
}

TEST(FileSpecRules, RecursiveSuffix) {
  struct Case {
    const char* pattern;
    bool recursive;
    const char* rest;
  };
  const Case cases[] = {
      {"C:\\a\\*.* /s", true, "C:\\a\\*.*"},
      {"C:\\a\\*.* /S", true, "C:\\a\\*.*"},
      {"C:\\a\\*.*/s", false, "C:\\a\\*.*/s"},  // the blank is part of the suffix
      {"C:\\a\\*.* /x", false, "C:\\a\\*.* /x"},
      {" /s", true, ""},
      {"/s", false, "/s"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    core::String pattern(c.pattern);
    EXPECT_EQ(take_recursive_suffix(pattern), c.recursive);
    EXPECT_EQ(std::string(pattern.text()), c.rest);
  }
}

}  // namespace
}  // namespace install
