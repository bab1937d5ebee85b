// The PATH line of "autoexec.bat": added once, removed as a whole line, never a part of
// another directory's line.
#include "install/autoexec_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace install {
namespace {

TEST(AutoexecRules, Entry) {
  EXPECT_EQ(std::string(autoexec_path_entry("C:\\PROGRA~1\\APP").text()), "PATH=%PATH%;C:\\PROGRA~1\\APP");
}

TEST(AutoexecRules, Adding) {
  const core::String entry = autoexec_path_entry("C:\\APP");
  struct Case {
    const char* label;
    const char* before;
    bool added;
    const char* after;
  };
  const Case cases[] = {
      {"empty file", "", true, "PATH=%PATH%;C:\\APP\r\n"},
      {"after a last line without line end", "@echo off", true, "@echo off\r\nPATH=%PATH%;C:\\APP\r\n"},
      {"after a final line feed", "@echo off\r\n", true, "@echo off\r\nPATH=%PATH%;C:\\APP\r\n"},
      {"already there in other case", "path=%path%;c:\\app\r\n", false, "path=%path%;c:\\app\r\n"},
      {"a longer directory is another entry", "PATH=%PATH%;C:\\APP\\BIN\r\n", true,
       "PATH=%PATH%;C:\\APP\\BIN\r\nPATH=%PATH%;C:\\APP\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    core::String text(c.before);
    EXPECT_EQ(add_autoexec_line(text, entry), c.added);
    EXPECT_EQ(std::string(text.text()), c.after);
  }
  // A second run leaves one line.
  core::String text("@echo off\r\n");
  add_autoexec_line(text, entry);
  EXPECT_FALSE(add_autoexec_line(text, entry));
  EXPECT_EQ(std::string(text.text()), "@echo off\r\nPATH=%PATH%;C:\\APP\r\n");
}

TEST(AutoexecRules, Removing) {
  const core::String entry = autoexec_path_entry("C:\\APP");
  struct Case {
    const char* label;
    const char* before;
    bool removed;
    const char* after;
  };
  const Case cases[] = {
      {"middle line", "a\r\nPATH=%PATH%;C:\\APP\r\nb\r\n", true, "a\r\nb\r\n"},
      {"last line without line end", "a\r\nPATH=%PATH%;c:\\app", true, "a\r\n"},
      {"only the first of two", "PATH=%PATH%;C:\\APP\r\nPATH=%PATH%;C:\\APP\r\n", true, "PATH=%PATH%;C:\\APP\r\n"},
      {"another directory's line stays", "PATH=%PATH%;C:\\APP\\BIN\r\n", false, "PATH=%PATH%;C:\\APP\\BIN\r\n"},
      {"a line that merely contains it stays", "SET PATH=%PATH%;C:\\APP\r\n", false, "SET PATH=%PATH%;C:\\APP\r\n"},
      {"absent", "", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    core::String text(c.before);
    EXPECT_EQ(remove_autoexec_line(text, entry), c.removed);
    EXPECT_EQ(std::string(text.text()), c.after);
  }
}

}  // namespace
}  // namespace install
