// "ProductFonts" and "ProductFlags": the exact texts, round trips, the readers' stops.
#include <gtest/gtest.h>
#include <stdint.h>

#include "install/product_flags_codec.h"
#include "install/product_fonts_codec.h"

namespace install {
namespace {

TEST(ProductFontsCodec, WritesQuotedPairs) {
  core::String list;
  append_product_font(list, "Demo Sans", "DEMOSANS.TTF");
  append_product_font(list, "The \"Best\" Serif", "best.ttf");
  EXPECT_STREQ(list.text(), "\"Demo Sans\" \"DEMOSANS.TTF\" \"The \"\"Best\"\" Serif\" \"best.ttf\" ");
}

TEST(ProductFontsCodec, RoundTrips) {
  struct Case {
    const char* face;
    const char* file;
  };
  const Case cases[] = {
      {"Demo Sans (TrueType)", "DEMOSANS.TTF"},
      {" leading and trailing blanks ", "a b.ttf"},
      {"\"", "\"\".fon"},
      {"Caf\xE9 \xA9 Fonts; ~!~", "caf\xE9.ttf"},
      {"two\r\nlines", "x.ttf"},
  };
  core::String list;
  for (const Case& c : cases) append_product_font(list, c.face, c.file);
  core::Vector<ProductFont> fonts = read_product_fonts(list);
  ASSERT_EQ(fonts.count(), static_cast<int32_t>(sizeof(cases) / sizeof(cases[0])));
  for (int32_t i = 0; i < fonts.count(); ++i) {
    SCOPED_TRACE(cases[i].face);
    EXPECT_STREQ(fonts[i].face.text(), cases[i].face);
    EXPECT_STREQ(fonts[i].file.text(), cases[i].file);
  }
}

TEST(ProductFontsCodec, ReaderStops) {
  struct Case {
    const char* text;
    int32_t count;
  };
  const Case cases[] = {
      {"", 0},
      {"   \r\n", 0},
      {"\"A\" \"a.ttf\"", 1},                   // without the last blank
      {"\r\n\t\"A\"\t\"a.ttf\"\"B\"\"b.ttf\"", 1},  // any white space between; "" inside a run is a quote
      {"\"A\" \"a.ttf\" \"B\"", 1},             // a face without its file
      {"\"A\" \"\" \"B\" \"b.ttf\"", 0},        // an empty file name ends the list
      {"A a.ttf", 0},                           // not quoted
      {"\"A\" \"a.ttf\" junk \"B\" \"b.ttf\"", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(read_product_fonts(c.text).count(), c.count);
  }
}

TEST(ProductFlagsCodec, UnsignedText) {
  struct Case {
    uint32_t flags;
    uint32_t flags2;
    const char* text;
  };
  const Case cases[] = {
      {0, 0, "0"},
      {0x4, 0, "4"},
      {0x80000004u, 0, "2147483652"},          // flag word 1's top bit is no sign
      {0x80000004u, 0x1, "6442450948"},
      {0, 0x80000000u, "9223372036854775808"},  // past the signed range
      {0xFFFFFFFFu, 0xFFFFFFFFu, "18446744073709551615"},
      {0x12345678u, 0x9ABCDEF0u, "11150031900141442680"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_STREQ(write_product_flags({c.flags, c.flags2}).text(), c.text);
    ProductFlags read = read_product_flags(c.text);
    EXPECT_EQ(read.flags, c.flags);
    EXPECT_EQ(read.flags2, c.flags2);
  }
}

TEST(ProductFlagsCodec, ReadsOtherTexts) {
  struct Case {
    const char* text;
    uint32_t flags;
    uint32_t flags2;
  };
  const Case cases[] = {
      {"", 0, 0},
      {"junk", 0, 0},
      {"  516 ", 0x204, 0},
      {"+516", 0x204, 0},
      {"-2147483644", 0x80000004u, 0xFFFFFFFFu},  // a signed text keeps its bits
      {"4294967296x", 0, 1},
      {"18446744073709551617", 1, 0},  // past 2^64: the low 64 bits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ProductFlags read = read_product_flags(c.text);
    EXPECT_EQ(read.flags, c.flags);
    EXPECT_EQ(read.flags2, c.flags2);
  }
}

}  // namespace
}  // namespace install
