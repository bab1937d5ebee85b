// The built-in string tables: complete, in Windows-1252, with the runtime's placeholders.
#include <gtest/gtest.h>

#include "qvin/project/languages/catalog.h"
#include "qvin/project/text_encoding.h"

namespace {

TEST(Languages, EveryTableFillsEveryUsedIdWithTheRightPlaceholders) {
  ASSERT_EQ(qvin::builtin_languages().size(), 4u);
  for (const auto& language : qvin::builtin_languages()) {
    for (int id = 0; id < qvin::kBuiltinStringCount; ++id) {
      const std::string text((*language.strings)[id]);
      const std::string where = std::string(language.name) + " string " + std::to_string(id);
      EXPECT_EQ(!text.empty(), qvin::string_is_used(id)) << where;
      std::string why;
      EXPECT_TRUE(qvin::utf8_to_cp1252(text, &why)) << where << ": " << why;
      std::string conversions;
      ASSERT_TRUE(qvin::format_conversions(text, &conversions)) << where;
      EXPECT_EQ(conversions, qvin::string_arguments(id)) << where << ": " << text;
    }
  }
}

TEST(Languages, FormatConversionsAreReadInOrder) {
  struct Case {
    const char* format;
    bool ok;
    const char* conversions;
  };
  const Case cases[] = {
      {"plain", true, ""},        {"%s and %d", true, "%s%d"}, {"100%% of %c:", true, "%c"},
      {"trailing %", false, ""},  {"%5d", false, ""},          {"%x", false, ""},
  };
  for (const auto& c : cases) {
    std::string got;
    EXPECT_EQ(qvin::format_conversions(c.format, &got), c.ok) << c.format;
    if (c.ok) {
      EXPECT_EQ(got, c.conversions) << c.format;
    }
  }
}

TEST(TextEncoding, RoundTripsWindows1252AndRefusesWhatItCannotCarry) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(*qvin::utf8_to_cp1252(qvin::cp1252_to_utf8(all)), all);
  EXPECT_EQ(*qvin::utf8_to_cp1252("\xE2\x82\xAC 5"), "\x80 5");  // euro sign
  std::string why;
  EXPECT_FALSE(qvin::utf8_to_cp1252("\xE6\x97\xA5", &why));  // a CJK character
  EXPECT_NE(why.find("U+65E5"), std::string::npos) << why;
  EXPECT_FALSE(qvin::utf8_to_cp1252("\xC3", &why));  // truncated sequence
  EXPECT_EQ(qvin::crlf_line_ends("a\nb\rc\r\nd\n\re\n\nf"), "a\r\nb\r\nc\r\nd\r\ne\r\n\r\nf");
}

}  // namespace
