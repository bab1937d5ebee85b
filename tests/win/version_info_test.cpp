// Version resources of the fixture DLLs built with the tests, of Wine's own system DLLs,
// and of files without one.
#include "core/win/version_info.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <string>

#include "core/win/windows.h"

namespace core {
namespace {

std::string text_of(const String& text) { return std::string(text.text(), static_cast<size_t>(text.length())); }

std::string program_path() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  return self;
}

// The fixtures are written next to the test program.
std::string fixture(const char* name) {
  std::string self = program_path();
  return self.substr(0, self.rfind('\\') + 1) + name;
}

std::string system_file(const char* name) {
  char dir[MAX_PATH] = {};
  GetSystemDirectoryA(dir, MAX_PATH);
  return std::string(dir) + "\\" + name;
}

TEST(VersionInfo, FixtureResources) {
  struct Case {
    const char* label;
    std::string path;
    bool has_block;
    const char* key;
    const char* plain;
    const char* padded;
  };
  const Case cases[] = {
      {"commas and spaces", fixture("version_comma.dll"), true, "040904b0", "5.0.2195.1",
       "0000000005.0000000000.0000002195.0000000001"},
      {"no translation, a build note", fixture("version_untranslated.dll"), true, "040904e4",
       "6.0.2900.2180(xpsp_sp2_rtm.040803-2158)", "0000000006.0000000000.0000002900.2180(XPSP_SP2_RTM.040803-2158)"},
      {"no version resource", program_path(), false, "040904e4", "", ""},
      {"no such file", fixture("no-such-file.dll"), false, "040904e4", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    String block("stale");
    EXPECT_EQ(read_version_block(c.path.c_str(), block), c.has_block);
    EXPECT_EQ(!block.is_empty(), c.has_block);
    EXPECT_EQ(text_of(translation_key(block)), c.key);
    EXPECT_EQ(text_of(file_version_text(c.path.c_str(), false)), c.plain);
    EXPECT_EQ(text_of(file_version_text(c.path.c_str(), true)), c.padded);
  }

  String block;
  ASSERT_TRUE(read_version_block(fixture("version_comma.dll").c_str(), block));
  String value("unchanged");
  EXPECT_FALSE(query_value(block, "\\StringFileInfo\\040904b0\\NoSuchValue", value));
  EXPECT_EQ(text_of(value), "unchanged");
  ASSERT_TRUE(query_value(block, "\\StringFileInfo\\040904b0\\CompanyName", value));
  EXPECT_EQ(std::string(value.text()), "qvin tests");
  // The translation table: one entry of two 16-bit values.
  ASSERT_TRUE(query_value(block, "\\VarFileInfo\\Translation", value));
  EXPECT_EQ(text_of(value), std::string("\x09\x04\xb0\x04", 4));
}

TEST(VersionInfo, WineSystemLibraries) {
  const char* names[] = {"kernel32.dll", "user32.dll", "shell32.dll", "version.dll"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    std::string path = system_file(name);
    String block;
    ASSERT_TRUE(read_version_block(path.c_str(), block));

    // The fixed record comes back at the size of the structure.
    String fixed;
    ASSERT_TRUE(query_value(block, "\\", fixed));
    ASSERT_EQ(fixed.length(), static_cast<int32_t>(sizeof(VS_FIXEDFILEINFO)));
    VS_FIXEDFILEINFO info;
    memcpy(&info, fixed.text(), sizeof(info));
    EXPECT_EQ(info.dwSignature, 0xFEEF04BDu);

    // The text starts with the same four numbers the fixed record holds (Wine writes
    // some with leading zeros: 5.01.2600.2180).
    std::string plain = text_of(file_version_text(path.c_str(), false));
    unsigned parts[4] = {};
    ASSERT_EQ(sscanf(plain.c_str(), "%u.%u.%u.%u", &parts[0], &parts[1], &parts[2], &parts[3]), 4) << plain;
    EXPECT_EQ(parts[0], HIWORD(info.dwFileVersionMS)) << plain;
    EXPECT_EQ(parts[1], LOWORD(info.dwFileVersionMS)) << plain;
    EXPECT_EQ(parts[2], HIWORD(info.dwFileVersionLS)) << plain;
    EXPECT_EQ(parts[3], LOWORD(info.dwFileVersionLS)) << plain;
    EXPECT_EQ(plain.find_first_of(" ,\t\r\n"), std::string::npos) << plain;
    EXPECT_EQ(plain.find('\0'), std::string::npos);

    std::string padded = text_of(file_version_text(path.c_str(), true));
    ASSERT_GE(padded.size(), 43u) << padded;
    EXPECT_EQ(padded[10], '.');
    EXPECT_EQ(padded[21], '.');
    EXPECT_EQ(padded[32], '.');
  }
}

}  // namespace
}  // namespace core
