// The thread's last error and the system's texts for error codes.
#include "core/win/system_error.h"

#include <gtest/gtest.h>

#include <string>

#include "core/win/windows.h"

namespace core {
namespace {

std::string text_of(const String& text) { return std::string(text.text(), static_cast<size_t>(text.length())); }

TEST(SystemError, TextsComeFromTheSystemUnchanged) {
  struct Case {
    const char* label;
    uint32_t code;
    bool has_text;
    const char* must_contain;
  };
  const Case cases[] = {
      {"no error", 0, false, ""},
      {"file not found", ERROR_FILE_NOT_FOUND, true, ""},
      {"access denied", ERROR_ACCESS_DENIED, true, ""},
      // A message with an insert keeps its placeholder instead of failing.
      {"message with an insert", ERROR_BAD_EXE_FORMAT, true, "%1"},
      {"no such message", 0x2000FFFFu, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::string text = text_of(error_text(c.code));
    EXPECT_EQ(!text.empty(), c.has_text) << text;
    EXPECT_NE(text.find(c.must_contain), std::string::npos) << text;
    if (c.has_text) {
      // Taken as the system words it: we see the same bytes as FormatMessageA gives.
      char expected[1024] = {};
      DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, c.code,
                                    MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), expected, sizeof(expected), nullptr);
      EXPECT_EQ(text, std::string(expected, length));
    }
  }
  EXPECT_EQ(text_of(error_text(ERROR_FILE_NOT_FOUND)).back(), '\n');
}

TEST(SystemError, LastErrorHelpersWorkOnTheThreadsValue) {
  // Each value is taken right after the call that set it: checks may touch the last error.
  set_last_error(ERROR_ACCESS_DENIED);
  uint32_t denied = last_error();
  String denied_text = last_error_text();
  set_invalid_parameter_error();
  DWORD invalid = GetLastError();
  clear_last_error();
  uint32_t cleared = last_error();
  clear_last_error();
  String cleared_text = last_error_text();

  EXPECT_EQ(denied, static_cast<uint32_t>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(text_of(denied_text), text_of(error_text(ERROR_ACCESS_DENIED)));
  EXPECT_EQ(invalid, 87u);
  EXPECT_EQ(cleared, 0u);
  EXPECT_TRUE(cleared_text.is_empty());
}

}  // namespace
}  // namespace core
