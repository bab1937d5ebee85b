// Line-by-line drawing and measuring of text.
#include "ui/text_lines.h"

namespace ui {
namespace {

bool piece_extent(HDC dc, const char* text, const TextPiece& piece, SIZE& size) {
  // Justification left over from other drawing would widen the measured text.
  SetTextJustification(dc, 0, 0);
  return GetTextExtentPoint32A(dc, text + piece.start, piece.length, &size) != FALSE;
}

}  // namespace

void draw_text_lines(HDC dc, int32_t x, int32_t y, int32_t box_width, int32_t line_height, const char* text,
                     int32_t length, int32_t alignment) {
  if (dc == nullptr || text == nullptr) return;
  TextLineCutter cutter(text, length);
  TextPiece piece;
  while (cutter.next(piece)) {
    SIZE size;
    if (!piece_extent(dc, text, piece, size)) continue;
    TextOutA(dc, x + line_offset(alignment, box_width, size.cx), y, text + piece.start, piece.length);
    y += line_height;
  }
}

TextExtent measure_text_lines(HDC dc, const char* text, int32_t length) {
  TextExtent extent;
  if (dc == nullptr || text == nullptr) return extent;
  TextLineCutter cutter(text, length);
  TextPiece piece;
  while (cutter.next(piece)) {
    SIZE size;
    if (!piece_extent(dc, text, piece, size)) continue;
    if (size.cx > extent.width) extent.width = size.cx;
    extent.height += size.cy;
  }
  return extent;
}

}  // namespace ui
