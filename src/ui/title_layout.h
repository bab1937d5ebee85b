// Placement of the background's title: its font size, alignment, vertical place and the
// horizontal offsets of shadow and text; and the cutting of a text into line pieces.
// Pure arithmetic and text.
#pragma once

#include <stdint.h>

namespace ui {

// Horizontal alignment of text lines in their box.
namespace text_alignment {
inline constexpr int32_t Left = 0;
inline constexpr int32_t Centre = 1;
inline constexpr int32_t Right = 2;
}  // namespace text_alignment

// A length meaning "up to the terminating zero".
inline constexpr int32_t up_to_terminator = 2147483647;

// The title's point sizes, whole points: tried from the largest down one point at a time;
// the smallest is used unmeasured.
inline constexpr int32_t title_largest_points = 26;
inline constexpr int32_t title_smallest_points = 6;

// The font height in pixels of a point size: pixels per inch × points ÷ 72, truncated
// toward zero. Whole-number arithmetic, so that the x87 (which keeps 1/72 and the product
// in wider registers) gives the same height as SSE: 96 dpi at 6 points is 8, not 7.
int32_t title_font_height(int32_t pixels_per_inch, int32_t points);

// True when a title of this measured width, with its shadow, fits the client width.
bool title_fits(uint8_t shadow, int32_t text_width, int32_t client_right);

// Alignment of positions 1..6: 2 and 5 centred, 3 and 6 right, the rest left.
int32_t title_alignment(uint8_t position);

// The width the lines are aligned in: client right less twice the shadow less 4.
int32_t title_box_width(int32_t client_right, uint8_t shadow);

// Top of the first line: 1 at the top (positions 1..3 and unknown values), else just above
// the bottom edge leaving room for the shadow.
int32_t title_top(uint8_t position, int32_t client_bottom, uint8_t shadow, int32_t text_height);

// Left edges of the coloured text and of its shadow (the shadow also sits `shadow` lower).
inline constexpr int32_t title_text_x = 2;
inline int32_t title_shadow_x(uint8_t shadow) { return shadow + title_text_x; }

// Horizontal offset of a line of piece_width in a box of box_width.
int32_t line_offset(int32_t alignment, int32_t box_width, int32_t piece_width);

// One line of a text: where it starts and how many characters it has, line end removed.
struct TextPiece {
  int32_t start = 0;
  int32_t length = 0;
};

// Cuts text into lines: a line ends at CR or LF, and CR LF or LF CR count as one line end.
// At most `length` characters are used in all (up_to_terminator: up to the zero); the text
// also ends at a zero byte. A null or empty text has no lines.
class TextLineCutter {
 public:
  TextLineCutter(const char* text, int32_t length);
  // The next piece; false at the end of the text.
  bool next(TextPiece& piece);

 private:
  const char* text_;
  int32_t position_ = 0;
  int32_t budget_;
};

}  // namespace ui
