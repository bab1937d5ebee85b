// Formatting into Strings and the conversions between numbers and text, version texts
// included.
#include <gtest/gtest.h>

#include <stdint.h>

#include <string>

#include "core/string.h"

namespace core {
namespace {

std::string text_of(const String& s) { return std::string(s.text(), static_cast<size_t>(s.length())); }

TEST(StringFormat, FormatAndAppendFormat) {
  String s("old");
  s.format("%s=%d (0x%08X)", "size", 42, 42u);
  EXPECT_EQ(text_of(s), "size=42 (0x0000002A)");
  s.append_format(", %.1f%%", 12.26);  // not a tie: C libraries round ties differently
  EXPECT_EQ(text_of(s), "size=42 (0x0000002A), 12.3%");
  EXPECT_EQ(text_of(format_string("%s %s\r\n", "a", "b")), "a b\r\n");
  EXPECT_EQ(text_of(s.format("%s", "")), "");
  EXPECT_EQ(s.capacity(), 0);
}

TEST(StringFormat, OutputLongerThanTheWorkingBufferAndOwnText) {
  const std::string long_text(70000, 'q');
  String s;
  s.format("<%s>", long_text.c_str());
  EXPECT_EQ(text_of(s), "<" + long_text + ">");
  // The arguments may be the string's own bytes.
  String t("abc");
  t.append_format("-%s-%s", t.text(), t.text());
  EXPECT_EQ(text_of(t), "abc-abc-abc");
  t.format("[%s]", t.text());
  EXPECT_EQ(text_of(t), "[abc-abc-abc]");
  String big(long_text.c_str());
  big.append_format("%s", big.text());
  EXPECT_EQ(big.length(), 140000);
}

TEST(StringFormat, Integers) {
  EXPECT_EQ(text_of(from_int(0)), "0");
  EXPECT_EQ(text_of(from_int(-2147483647 - 1)), "-2147483648");
  EXPECT_EQ(text_of(from_int(2147483647)), "2147483647");
  EXPECT_EQ(text_of(from_int64(INT64_MIN)), "-9223372036854775808");
  EXPECT_EQ(text_of(from_int64(1234567890123LL)), "1234567890123");
}

TEST(StringFormat, Doubles) {
  struct Case {
    double x;
    int32_t precision;
    const char* expected;
  };
  const Case cases[] = {
      {3.14, -1, "3.14"}, {5, -1, "5"},         {1.5, -1, "1.5"},        {2.0, -1, "2"},
      {0.0000001, -1, "0"}, {100, -1, "100"},   {1.26, 1, "1.3"},        {2, 0, "2"},
      {2.5, 3, "2.500"},  {-0.5, -1, "-0.5"},   {1234567.125, -1, "1234567.125"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(text_of(from_double(c.x, c.precision)), c.expected);
  }
}

TEST(StringFormat, ByteSizes) {
  struct Case {
    int64_t n;
    const char* expected;
  };
  const Case cases[] = {
      {0, "0 bytes"},
      {1023, "1023 bytes"},
      {-5, "-5 bytes"},
      {1024, "1.00 KB"},
      {1536, "1.50 KB"},
      {1048575, "1024.00 KB"},
      {1048576, "1.00 MB"},
      {1073741823, "1024.00 MB"},
      {1073741824, "1.00 GB"},
      {5368709120LL, "5.00 GB"},
      {1099511627776LL, "1.00 TB"},
      {1099511627776LL * 2048, "2048.00 TB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(text_of(byte_size(c.n)), c.expected);
  }
}

TEST(StringFormat, Ordinals) {
  struct Case {
    int32_t n;
    const char* suffixed;
    const char* words;
  };
  const Case cases[] = {
      {1, "1st", "First"},
      {2, "2nd", "Second"},
      {3, "3rd", "Third"},
      {4, "4th", "Fourth"},
      {11, "11th", "Eleventh"},
      {12, "12th", "Twelfth"},
      {13, "13th", "Thirteenth"},
      {20, "20th", "Twentieth"},
      {21, "21st", "Twenty First"},
      {22, "22nd", "Twenty Second"},
      {23, "23rd", "Twenty Third"},
      {30, "30th", "Thirtieth"},
      {31, "31st", "Thirty First"},
      {90, "90th", "Ninetieth"},
      {100, "100th", "One Hundredth"},
      {111, "111st", "One Hundred Eleventh"},
      {113, "113rd", "One Hundred Thirteenth"},
      {0, "0th", "Zeroth"},
      {2006, "2006th", "Two Thousand Sixth"},
      {2000, "2000th", "Two Thousandth"},
      {1999, "1999th", "One Thousand Nine Hundred Ninety Ninth"},
      {-1, "-1st", "Minus First"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.suffixed);
    EXPECT_EQ(text_of(ordinal(c.n)), c.suffixed);
    EXPECT_EQ(text_of(ordinal_word(c.n)), c.words);
  }
  EXPECT_EQ(text_of(ordinal_word(-2147483647 - 1)),
            "Minus Two Billion One Hundred Forty Seven Million Four Hundred Eighty Three Thousand Six Hundred Forty "
            "Eighth");
}

TEST(StringNumbers, ToInt) {
  struct Case {
    const char* text;
    int32_t expected;
    int64_t expected64;
  };
  const Case cases[] = {
      {"Version 1,234", 1234, 1234},
      {"abc", 0, 0},
      {"", 0, 0},
      {nullptr, 0, 0},
      {"  -42 apples", -42, -42},
      {"+7", 7, 7},
      {".5", 0, 0},
      {"x-,5", -5, -5},
      {"12ab34", 12, 12},
      {"99999999999", 2147483647, 99999999999LL},
      {"-99999999999", -2147483647 - 1, -99999999999LL},
      {"1,000,000,000,000", 2147483647, 1000000000000LL},
      {"-9223372036854775809", -2147483647 - 1, INT64_MIN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text != nullptr ? c.text : "(null)");
    EXPECT_EQ(to_int(c.text), c.expected);
    EXPECT_EQ(to_int64(c.text), c.expected64);
  }
}

TEST(StringNumbers, ParseIntAtAPosition) {
  const String s("12,-3 +x");
  int32_t at = 0;
  EXPECT_EQ(s.parse_int(at), 12);
  EXPECT_EQ(at, 2);
  at = 3;
  EXPECT_EQ(s.parse_int(at), -3);
  EXPECT_EQ(at, 5);
  at = 6;
  EXPECT_EQ(s.parse_int(at), 0);  // a sign without digits
  EXPECT_EQ(at, 6);
  at = 8;
  EXPECT_EQ(s.parse_int(at), -2147483647 - 1);  // at the end
}

TEST(StringNumbers, ParseIntFlags) {
  using namespace parse_flag;
  struct Case {
    const char* label;
    const char* text;
    uint32_t flags;
    int32_t expected;
    const char* rest;
  };
  const Case cases[] = {
      {"digits", "42x", 0, 42, "x"},
      {"leading spaces need the flag", "  42", 0, 0, "  42"},
      {"leading spaces skipped", "  42", SkipLeadingSpaces, 42, ""},
      {"a sign", "-7,", 0, -7, ","},
      {"no sign allowed", "-7", NoSign, 0, "-7"},
      {"minimum when there is no digit", "x", MinWhenNone, -2147483647 - 1, "x"},
      {"spaces after the digits", "5  ,6", SkipTrailingSpaces, 5, ",6"},
      {"one comma", "5,,6", SkipComma, 5, ",6"},
      {"comma and spaces around it", "5 , 6", SkipTrailingSpaces | SkipComma, 5, "6"},
      {"comma without the space flag", "5, 6", SkipComma, 5, " 6"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const char* cursor = c.text;
    EXPECT_EQ(parse_int_flags(cursor, c.flags), c.expected);
    EXPECT_STREQ(cursor, c.rest);
  }
}

TEST(StringNumbers, ToBool) {
  const char* const falsehoods[] = {"", "  ", "0", "n", "N", "no", " No ", "f", "FALSE", "false\r\n", nullptr};
  const char* const truths[] = {"1", "2", "yes", "y", "nope", "true", "00", "-0", "t"};
  for (const char* text : falsehoods) EXPECT_FALSE(to_bool(text)) << (text != nullptr ? text : "(null)");
  for (const char* text : truths) EXPECT_TRUE(to_bool(text)) << text;
}

TEST(StringNumbers, CompareVersions) {
  struct Case {
    const char* a;
    const char* b;
    int32_t expected;
  };
  const Case cases[] = {
      {"1.10", "1.9", 1},       // numbers, not text
      {"2.0", "2.0.1", -1},     // the shorter runs out first
      {"1.2.0", "1.2", 1},
      {"3.1b", "3.1a", 1},      // letters differ by one
      {"1.2a", "1.2", 'a'},
      {"", "", 0},
      {"1.2.3", "1.2.3", 0},
      {"5", "7", -2},
      {".5", "0.5", 0},         // a leading '.' reads as 0
      {"1,2,3", "1.2.3", 0},    // any other character separates
      {"v1.2", "1.2", 'v'},     // a letter anywhere is the letter
      {"1b.2", "1.2", 'b'},     // the character ending a number goes with it
      {"1.2a.3", "1.2.3", 'a'},
      {"1.2 beta", "1.2 alpha", 'a' - 'a'},  // the last letter counts: a vs a
      {"6.0.2900.2180", "6.0.2900.5512", 2180 - 5512},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    EXPECT_EQ(compare_versions(c.a, c.b), c.expected);
    EXPECT_EQ(compare_versions(c.b, c.a), -c.expected);
  }
  EXPECT_EQ(compare_versions(nullptr, "1"), -1);
}

}  // namespace
}  // namespace core
