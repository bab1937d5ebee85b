// Formatting a foreign format text against typed arguments.
#include "core/text_format.h"

#include <gtest/gtest.h>

namespace {

using core::FormatArgument;
using core::format_text;

TEST(TextFormat, ConversionsTakeTheirArgumentsInOrder) {
  EXPECT_STREQ(format_text("Error code: %d", {55}).text(), "Error code: 55");
  EXPECT_STREQ(format_text("Insert disk %d in drive %c:", {3, FormatArgument::character('D')}).text(),
               "Insert disk 3 in drive D:");
  EXPECT_STREQ(format_text("%s needs %s on %c:", {"Hello", "12 KB", FormatArgument::character('C')}).text(),
               "Hello needs 12 KB on C:");
  EXPECT_STREQ(format_text("[%5d|%-4s|%03x|%.2s]", {42, "ab", 10, "xyz"}).text(), "[   42|ab  |00a|xy]");
  EXPECT_STREQ(format_text("100%% done", {}).text(), "100% done");
}

TEST(TextFormat, MismatchedTextsNeverReadWhatWasNotPassed) {
  struct Case {
    const char* format;
    const char* expected;
  } cases[] = {
      {"%s", "7"},                     // a number where a text is expected
      {"%d %s %s %n", "7   %n"},        // missing arguments print nothing; %n is never a conversion
      {"%ld|%I64d|%hd", "7||"},         // length modifiers are ignored
      {"%", "%"},                       // a lone percent at the end
      {"%*d", "%*d"},                   // no width from the arguments
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_STREQ(format_text(c.format, {7}).text(), c.expected);
  }
  EXPECT_EQ(format_text("%999999d", {7}).length(), 9999);  // widths are kept to four digits
  EXPECT_STREQ(format_text("%d", {"text"}).text(), "text");
  EXPECT_STREQ(format_text("%s", {static_cast<const char*>(nullptr)}).text(), "");
}

}  // namespace
