// Directories on the machine: tests, the current directory, creation, removal of single
// directories and whole trees with their refusals, attributes and environment expansion.
#include "core/win/directories.h"

#include <gtest/gtest.h>

#include <string>

#include "file_test_support.h"

namespace core {
namespace {

using test_support::exists;
using test_support::Holder;
using test_support::put_file;
using test_support::ScratchDirectory;

std::string text_of(const String& s) { return std::string(s.text(), static_cast<size_t>(s.length())); }

std::string windows_directory() {
  char buffer[MAX_PATH + 1];
  return std::string(buffer, GetWindowsDirectoryA(buffer, sizeof(buffer)));
}

TEST(Directories, DirectoryAndDriveTests) {
  ScratchDirectory dir;
  ASSERT_TRUE(put_file(dir / "file.txt", "x"));
  // A letter that names no drive here.
  char unused[4] = "?:\\";
  DWORD drives = GetLogicalDrives();
  for (char letter = 'Y'; letter > 'C'; --letter) {
    if (!(drives & (1u << (letter - 'A')))) {
      unused[0] = letter;
      break;
    }
  }
  ASSERT_NE(unused[0], '?');

  struct Case {
    std::string path;
    bool directory;
    bool drive;
  };
  const Case cases[] = {
      {dir.path(), true, true},
      {dir.path() + "\\", true, true},
      {dir / "file.txt", false, true},
      {dir / "missing", false, true},
      {"C:\\", true, true},
      {unused, false, false},
      {"", false, false},
      {"   ", false, false},
      {"1:\\", false, false},
  };
  String before = current_directory();
  for (const Case& c : cases) {
    SCOPED_TRACE("[" + c.path + "]");
    EXPECT_EQ(is_directory(c.path.c_str()), c.directory);
    EXPECT_EQ(drive_exists(c.path.c_str()), c.drive);
    EXPECT_EQ(text_of(current_directory()), text_of(before));  // restored after each test
  }
  EXPECT_FALSE(is_directory(nullptr));
  EXPECT_FALSE(drive_exists(nullptr));
}

TEST(Directories, CurrentDirectoryOfAnyLength) {
  ScratchDirectory dir;
  String before = current_directory();
  // Past the first 100-byte answer the text is asked for again at its full size.
  std::string deep = dir.path();
  while (deep.size() < 180) deep += "\\a-rather-long-directory-name";
  ASSERT_TRUE(create_directory(deep.c_str()));
  for (const std::string& path : {dir.path(), deep}) {
    SCOPED_TRACE(path.size());
    ASSERT_TRUE(SetCurrentDirectoryA(path.c_str()));
    EXPECT_EQ(text_of(current_directory()), path);
  }
  SetCurrentDirectoryA(before.text());
}

TEST(Directories, CreateMakesEveryMissingLevel) {
  ScratchDirectory dir;
  ASSERT_TRUE(put_file(dir / "file", "x"));
  struct Case {
    std::string path;
    bool created;
  };
  const Case cases[] = {
      {dir / "a\\b\\c", true},
      {dir / "a\\b\\c", true},  // already there
      {dir / "d\\e\\", true},   // a trailing separator
      {"C:\\", true},
      {"C:", true},
      {"", false},
      {dir / "file\\sub", false},  // a file stands in the way
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("[" + c.path + "]");
    EXPECT_EQ(create_directory(c.path.c_str()), c.created);
    if (c.created) {
      EXPECT_TRUE(is_directory(c.path.c_str()));
    }
  }
  EXPECT_TRUE(is_directory((dir / "a").c_str()));
  EXPECT_TRUE(is_directory((dir / "a\\b").c_str()));
}

TEST(Directories, RemoveTakesOnlyEmptyDirectories) {
  ScratchDirectory dir;
  ASSERT_TRUE(create_directory((dir / "empty").c_str()));
  ASSERT_TRUE(create_directory((dir / "slash").c_str()));
  ASSERT_TRUE(create_directory((dir / "full").c_str()));
  ASSERT_TRUE(put_file(dir / "full\\f", "x"));
  struct Case {
    std::string path;
    bool removed;
  };
  const Case cases[] = {
      {dir / "empty", true}, {dir / "slash\\", true}, {dir / "full", false}, {"C:\\", false}, {"C:", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(remove_directory(c.path.c_str()), c.removed);
  }
  EXPECT_FALSE(exists(dir / "empty"));
  EXPECT_TRUE(exists(dir / "full\\f"));
}

TEST(Directories, TreeRemovalTakesEverything) {
  ScratchDirectory dir;
  std::string root = dir / "tree";
  ASSERT_TRUE(create_directory((root + "\\a\\b").c_str()));
  ASSERT_TRUE(create_directory((root + "\\empty").c_str()));
  ASSERT_TRUE(put_file(root + "\\top.txt", "x"));
  ASSERT_TRUE(put_file(root + "\\a\\b\\deep.txt", "x"));
  ASSERT_TRUE(put_file(root + "\\a\\locked.txt", "x"));
  SetFileAttributesA((root + "\\a\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(remove_directory_tree((root + "\\").c_str()));
  EXPECT_FALSE(exists(root));
}

TEST(Directories, TreeRemovalGoesOnPastAFileInUse) {
  ScratchDirectory dir;
  std::string root = dir / "tree";
  ASSERT_TRUE(create_directory((root + "\\sub").c_str()));
  ASSERT_TRUE(put_file(root + "\\a.txt", "x"));
  ASSERT_TRUE(put_file(root + "\\sub\\held.txt", "x"));
  ASSERT_TRUE(put_file(root + "\\z.txt", "x"));
  {
    Holder holder(root + "\\sub\\held.txt");
    ASSERT_TRUE(holder.holds());
    SetLastError(0);
    EXPECT_FALSE(remove_directory_tree(root.c_str()));
    // The cause one level down stays the thread's last error.
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  }
  EXPECT_FALSE(exists(root + "\\a.txt"));
  EXPECT_FALSE(exists(root + "\\z.txt"));
  EXPECT_TRUE(exists(root + "\\sub\\held.txt"));
  EXPECT_TRUE(remove_directory_tree(root.c_str()));
}

TEST(Directories, TreeRemovalRefusesRootsAndTheWindowsDirectory) {
  std::string windows = windows_directory();
  std::string lower = windows;
  for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  // Each of these would name a whole drive or the system; none may be touched. The test
  // stops at the first one that is not refused.
  const std::string refused[] = {
      "C:\\", "C:", "C:\\\\", "C:\\.", "C:\\.\\", "  C:\\  ", windows, windows + "\\", lower, "  " + windows + " ",
  };
  ASSERT_FALSE(windows.empty());
  for (const std::string& path : refused) {
    SCOPED_TRACE("[" + path + "]");
    ASSERT_FALSE(remove_directory_tree(path.c_str()));
  }
  EXPECT_FALSE(remove_directory_tree(nullptr));
  EXPECT_TRUE(is_directory(windows.c_str()));
}

TEST(Directories, ReadOnlyAttribute) {
  ScratchDirectory dir;
  std::string file = dir / "f.txt";
  ASSERT_TRUE(put_file(file, "x"));
  struct Case {
    bool on;
    bool read_only_after;
  };
  const Case cases[] = {{true, true}, {true, true}, {false, false}, {false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.on);
    EXPECT_TRUE(set_read_only(file.c_str(), c.on));
    EXPECT_EQ((GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY) != 0, c.read_only_after);
  }
  EXPECT_FALSE(set_read_only((dir / "missing").c_str(), true));
}

TEST(Directories, EnvironmentExpansion) {
  SetEnvironmentVariableA("QVIN_TEST_VARIABLE", "C:\\expanded");
  // Two of these make a result one byte longer than the 31999 allowed.
  std::string huge(16000, 'x');
  SetEnvironmentVariableA("QVIN_TEST_HUGE", huge.c_str());
  struct Case {
    const char* text;
    bool ok;
    const char* result;
  };
  const Case cases[] = {
      {"%QVIN_TEST_VARIABLE%\\bin", true, "C:\\expanded\\bin"},
      {"%QVIN_TEST_UNKNOWN%\\bin", true, "%QVIN_TEST_UNKNOWN%\\bin"},
      {"plain", true, "plain"},
      {"", true, ""},
      {"%QVIN_TEST_HUGE%%QVIN_TEST_HUGE%", false, "%QVIN_TEST_HUGE%%QVIN_TEST_HUGE%"},  // too long: unchanged
      {"%QVIN_TEST_HUGE%", true, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    String text(c.text);
    EXPECT_EQ(expand_environment(text), c.ok);
    EXPECT_EQ(text_of(text), c.result != nullptr ? c.result : huge);
  }
  SetEnvironmentVariableA("QVIN_TEST_VARIABLE", nullptr);
  SetEnvironmentVariableA("QVIN_TEST_HUGE", nullptr);
}

}  // namespace
}  // namespace core
