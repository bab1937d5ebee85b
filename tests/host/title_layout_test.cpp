// The background title's placement and the cutting of a text into lines.
#include <gtest/gtest.h>

#include <string>

#include "ui/title_layout.h"

namespace ui {
namespace {

TEST(TitleLayout, PositionsAlignAndPlace) {
  struct Case {
    uint8_t position;
    int32_t alignment;
    int32_t top;  // client bottom 768, shadow 3, text 80 high
  };
  const Case cases[] = {
      {1, text_alignment::Left, 1},     {2, text_alignment::Centre, 1},   {3, text_alignment::Right, 1},
      {4, text_alignment::Left, 684},   {5, text_alignment::Centre, 684}, {6, text_alignment::Right, 684},
      {7, text_alignment::Left, 1},     {255, text_alignment::Left, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "position " << int{c.position});
    EXPECT_EQ(title_alignment(c.position), c.alignment);
    EXPECT_EQ(title_top(c.position, 768, 3, 80), c.top);
  }
}

TEST(TitleLayout, FontHeights) {
  // Run on x86 and x64 alike: heights that come out whole must not lose a pixel to
  // rounding (the x87 once gave 7 for 96 dpi at 6 points).
  struct Case {
    int32_t pixels_per_inch;
    int32_t points;
    int32_t height;
  };
  const Case cases[] = {
      {96, 26, 34},  // 34.67 truncated
      {96, 25, 33}, {96, 18, 24}, {96, 12, 16}, {96, 9, 12}, {96, 6, 8},
      {120, 26, 43}, {120, 6, 10}, {144, 26, 52}, {144, 7, 14}, {72, 26, 26}, {72, 6, 6},
      {192, 26, 69}, {192, 6, 16}, {0, 26, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pixels_per_inch << " dpi, " << c.points << " points");
    EXPECT_EQ(title_font_height(c.pixels_per_inch, c.points), c.height);
  }
  // Every whole height the loop can meet, 1 to 600 dpi.
  for (int32_t dpi = 1; dpi <= 600; ++dpi) {
    for (int32_t points = title_smallest_points; points <= title_largest_points; ++points) {
      if (dpi * points % 72 != 0) continue;
      ASSERT_EQ(title_font_height(dpi, points) * 72, dpi * points) << dpi << " dpi, " << points << " points";
    }
  }
}

TEST(TitleLayout, SizesAndOffsets) {
  EXPECT_TRUE(title_fits(1, 100, 104));
  EXPECT_FALSE(title_fits(1, 101, 104));
  EXPECT_EQ(title_box_width(1024, 3), 1014);
  EXPECT_EQ(title_shadow_x(3), 5);
  EXPECT_EQ(title_shadow_x(0), title_text_x);
  EXPECT_EQ(line_offset(text_alignment::Left, 100, 31), 0);
  EXPECT_EQ(line_offset(text_alignment::Centre, 100, 31), 34);
  EXPECT_EQ(line_offset(text_alignment::Right, 100, 31), 69);
  EXPECT_EQ(line_offset(text_alignment::Centre, 10, 31), -11) << "a line wider than the box starts left of it";
}

// The pieces of a text joined by '|'; "<none>" when there are none.
std::string pieces(const char* text, int32_t length) {
  TextLineCutter cutter(text, length);
  TextPiece piece;
  std::string joined;
  int count = 0;
  while (cutter.next(piece)) {
    if (count++ > 0) joined += '|';
    joined.append(text + piece.start, static_cast<size_t>(piece.length));
  }
  return count == 0 ? "<none>" : joined;
}

TEST(TextLineCutter, Lines) {
  struct Case {
    const char* label;
    const char* text;
    int32_t length;
    const char* expected;
  };
  const Case cases[] = {
      {"one line", "Hello", up_to_terminator, "Hello"},
      {"CR LF is one end", "Big\r\nProduct", up_to_terminator, "Big|Product"},
      {"LF CR is one end", "a\n\rb", up_to_terminator, "a|b"},
      {"lone LF and lone CR", "a\nb\rc", up_to_terminator, "a|b|c"},
      {"two CRs make an empty line", "a\r\rb", up_to_terminator, "a||b"},
      {"two LFs make an empty line", "a\n\nb", up_to_terminator, "a||b"},
      {"CR LF CR LF: one empty line", "a\r\n\r\nb", up_to_terminator, "a||b"},
      {"a trailing line end adds no line", "a\r\n", up_to_terminator, "a"},
      {"a leading line end gives an empty first line", "\nb", up_to_terminator, "|b"},
      {"the length cuts a line", "abcdef", 3, "abc"},
      {"the length cuts between CR and LF", "ab\r\ncd", 3, "ab"},
      {"the length cuts the second line", "ab\r\ncd", 5, "ab|c"},
      {"the text ends at a zero byte", "ab\0cd", 5, "ab"},
      {"empty text", "", up_to_terminator, "<none>"},
      {"zero length", "abc", 0, "<none>"},
      {"negative length", "abc", -4, "<none>"},
      {"null text", nullptr, up_to_terminator, "<none>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(pieces(c.text, c.length), c.expected);
  }
}

}  // namespace
}  // namespace ui
