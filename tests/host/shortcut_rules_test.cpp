// The shortcut's file name gets one ".LNK", never a second.
#include <gtest/gtest.h>

#include "install/shortcut_rules.h"

namespace install {
namespace {

TEST(ShortcutRules, OneExtension) {
  struct Case {
    const char* path;
    const char* file;
  };
  const Case cases[] = {
      {"C:\\Desk\\Demo", "C:\\Desk\\Demo.LNK"},
      {"C:\\Desk\\Demo.lnk", "C:\\Desk\\Demo.lnk"},
      {"C:\\Desk\\Demo.Lnk", "C:\\Desk\\Demo.Lnk"},
      {"C:\\Desk\\Demo.LNK", "C:\\Desk\\Demo.LNK"},
      {"C:\\Desk\\My .lnk notes", "C:\\Desk\\My .lnk notes.LNK"},
      {"C:\\Desk.lnk\\Demo", "C:\\Desk.lnk\\Demo.LNK"},
      {"lnk", "lnk.LNK"},
      {"", ".LNK"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_STREQ(shortcut_file_path(c.path).text(), c.file);
  }
}

// Arguments ~"program" rest start that program with the rest; others start the target.
TEST(ShortcutRules, Command) {
  struct Case {
    const char* label;
    const char* arguments;
    const char* target;
    const char* rest;
  };
  const Case cases[] = {
      {"plain arguments", "--greet \"x\"", "C:\\App\\hello.exe", "--greet \"x\""},
      {"no arguments", "", "C:\\App\\hello.exe", ""},
      {"a program and the file", "~\"C:\\Tools\\view.exe\"  \"C:\\App\\doc.txt\"", "C:\\Tools\\view.exe",
       "\"C:\\App\\doc.txt\""},
      {"blanks inside the run are trimmed", "~\" C:\\Tools\\view.exe \" -r", "C:\\Tools\\view.exe", "-r"},
      {"a doubled quote is one quote", "~\"C:\\A \"\"B\"\".exe\" x", "C:\\A \"B\".exe", "x"},
      {"a program without the rest", "~\"C:\\Tools\\view.exe\"", "C:\\Tools\\view.exe", ""},
      {"a run without its closing quote takes the rest", "~\"C:\\Tools\\view.exe -r", "C:\\Tools\\view.exe -r", ""},
      {"a tilde without a quote is an argument", "~C:\\x", "C:\\App\\hello.exe", "~C:\\x"},
      {"a quote before the tilde", "\"~x\"", "C:\\App\\hello.exe", "\"~x\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ShortcutCommand command = shortcut_command("C:\\App\\hello.exe", c.arguments);
    EXPECT_STREQ(command.target.text(), c.target);
    EXPECT_STREQ(command.arguments.text(), c.rest);
  }
}

TEST(ShortcutRules, WorkingDirectory) {
  struct Case {
    const char* text;
    const char* directory;
  };
  const Case cases[] = {
      {"C:\\App", "C:\\App"},
      {"  \" C:\\My App \"  ", "C:\\My App"},
      {"\"C:\\App", "\"C:\\App"},  // one quote alone is kept
      {"\"\"", ""},
      {" \t", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_STREQ(clean_working_directory(c.text).text(), c.directory);
  }
}

}  // namespace
}  // namespace install
