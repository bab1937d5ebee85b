// Stored names that may and may not be written below an extraction directory.
#include <gtest/gtest.h>

#include "qvin/commands/extract_paths.h"

namespace {

TEST(ExtractPaths, KeepsRelativeNamesAndRefusesEscapes) {
  struct Case {
    const char* name;
    const char* expected;  // the relative path, or null when refused
  };
  const Case cases[] = {
      {"hello.exe", "hello.exe"},
      {"bin\\tools\\a.dll", "bin/tools/a.dll"},
      {"docs/readme.txt", "docs/readme.txt"},
      {"a\\\\b.txt", "a/b.txt"},
      {"caf\xE9.txt", "caf\xC3\xA9.txt"},
      {"nullable.txt", "nullable.txt"},
      {"COM10", "COM10"},
      {"", nullptr},
      {"\\windows\\system.ini", nullptr},
      {"/etc/passwd", nullptr},
      {"\\\\server\\share\\x", nullptr},
      {"C:\\boot.ini", nullptr},
      {"c:relative.txt", nullptr},
      {"file.txt:stream", nullptr},
      {"..\\evil.txt", nullptr},
      {"a\\..\\..\\evil.txt", nullptr},
      {"a/../b", nullptr},
      {".\\x", nullptr},
      {"CON", nullptr},
      {"sub\\nul.txt", nullptr},
      {"LPT1.log", nullptr},
      {"com3", nullptr},
      {"AUX .txt", nullptr},
      {"conout$", nullptr},
      {"trailing.", nullptr},
      {"trailing ", nullptr},
      {"what?.txt", nullptr},
      {"tab\there", nullptr},
      {"\\", nullptr},
  };
  for (const auto& c : cases) {
    const auto verdict = qvin::extract_path(c.name);
    if (c.expected) {
      ASSERT_TRUE(verdict.path) << c.name << ": " << verdict.refusal;
      EXPECT_EQ(verdict.path->generic_string(), c.expected) << c.name;
    } else {
      EXPECT_FALSE(verdict.path) << c.name << " was accepted as " << verdict.path->generic_string();
      EXPECT_FALSE(verdict.refusal.empty()) << c.name;
    }
  }
}

}  // namespace
