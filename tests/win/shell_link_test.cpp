// Shell links written by create_shell_link and read back through the shell's link object.
#include "core/win/shell_link.h"

#include <gtest/gtest.h>

#include <string>

#include "core/win/directories.h"
#include "core/win/windows.h"
#include "tests/win/link_reader.h"

namespace core {
namespace {

using test_support::LinkFields;
using test_support::read_link;

std::string text_of(const String& text) { return std::string(text.text(), static_cast<size_t>(text.length())); }

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

bool file_exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class ShellLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    dir_ = std::string(temp) + "qvin-test-shell-link";
    remove_directory_tree(dir_.c_str());
    ASSERT_TRUE(create_directory(dir_.c_str()));
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    program_ = self;
  }
  void TearDown() override {
    remove_directory_tree(dir_.c_str());
    CoUninitialize();
  }
  std::string dir_;
  std::string program_;
};

TEST_F(ShellLinkTest, WritesWhatTheShellReadsBack) {
  struct Case {
    const char* label;
    std::string name;      // below the test directory
    std::string written;   // the name actually written
    const char* arguments;
    bool with_working_directory;
    const char* icon;      // empty: the target is the icon
  };
  const Case cases[] = {
      {"plain name gets the extension", "Tool", "Tool.LNK", "", false, ""},
      {"lower-case extension kept", "tool two.lnk", "tool two.lnk", "/u:\"Product\"", true, ""},
      {"extension anywhere in the path counts", "old.LNK.d\\Name", "old.LNK.d\\Name", "", false, ""},
      {"missing directories are created", "Start Menu\\Acme\\App", "Start Menu\\Acme\\App.LNK", "-x 1", true,
       "C:\\windows\\system32\\shell32.dll"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    String link(c.name.empty() ? dir_.c_str() : (dir_ + "\\" + c.name).c_str());
    std::string expected_path = dir_ + "\\" + c.written;
    const char* work = c.with_working_directory ? dir_.c_str() : "";
    ASSERT_TRUE(create_shell_link(link, program_.c_str(), c.arguments, work, c.icon));
    EXPECT_EQ(text_of(link), expected_path);
    ASSERT_TRUE(file_exists(expected_path));

    LinkFields fields;
    ASSERT_TRUE(read_link(expected_path, fields));
    EXPECT_EQ(lower(fields.target), lower(program_));
    EXPECT_EQ(fields.arguments, c.arguments);
    EXPECT_EQ(lower(fields.working_directory), lower(work));
    EXPECT_EQ(lower(fields.icon), lower(*c.icon != 0 ? c.icon : program_.c_str()));
    EXPECT_EQ(fields.icon_index, 0);
  }
}

TEST_F(ShellLinkTest, FailsWithoutWritingElsewhere) {
  struct Case {
    const char* label;
    std::string path;
  };
  const Case cases[] = {
      {"a drive that does not exist", "Q:\\qvin-no-drive\\Link"},
      // Longer than the shell's path limit: never cut short and saved under another name.
      {"a path too long for the shell", dir_ + "\\" + std::string(300, 'n')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    String link(c.path.c_str());
    EXPECT_FALSE(create_shell_link(link, program_.c_str(), "", "", ""));
  }
  // Nothing appeared in the test directory.
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((dir_ + "\\*.lnk").c_str(), &found);
  EXPECT_EQ(find, INVALID_HANDLE_VALUE);
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

}  // namespace
}  // namespace core
