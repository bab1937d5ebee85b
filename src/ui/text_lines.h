// Drawing and measuring a text of several lines on a device context, line by line.
#pragma once

#include <stdint.h>

#include "core/win/windows.h"
#include "ui/title_layout.h"

namespace ui {

// Width of the widest line and the sum of the line heights.
struct TextExtent {
  int32_t width = 0;
  int32_t height = 0;
};

// Draws each line of text (length characters at most; up_to_terminator: up to the zero)
// with TextOutA, aligned (text_alignment) in a box of box_width starting at x, the first
// at y and each next one line_height lower. A line that cannot be measured is skipped
// without advancing. Nothing for a null device context or a null or empty text.
void draw_text_lines(HDC dc, int32_t x, int32_t y, int32_t box_width, int32_t line_height, const char* text,
                     int32_t length, int32_t alignment);

// The extent the lines of text take in the device context's current font; (0, 0) for a
// null device context or a null or empty text.
TextExtent measure_text_lines(HDC dc, const char* text, int32_t length);

}  // namespace ui
