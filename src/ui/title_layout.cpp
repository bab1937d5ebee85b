// Title placement and line cutting.
#include "ui/title_layout.h"

namespace ui {
namespace {

bool is_line_end(char c) { return c == '\r' || c == '\n'; }

}  // namespace

int32_t title_font_height(int32_t pixels_per_inch, int32_t points) {
  return static_cast<int32_t>(static_cast<int64_t>(pixels_per_inch) * points / 72);
}

bool title_fits(uint8_t shadow, int32_t text_width, int32_t client_right) {
  return shadow + text_width + 2 < client_right;
}

int32_t title_alignment(uint8_t position) {
  if (position == 2 || position == 5) return text_alignment::Centre;
  if (position == 3 || position == 6) return text_alignment::Right;
  return text_alignment::Left;
}

int32_t title_box_width(int32_t client_right, uint8_t shadow) { return client_right - 2 * shadow - 4; }

int32_t title_top(uint8_t position, int32_t client_bottom, uint8_t shadow, int32_t text_height) {
  if (position < 4 || position > 6) return 1;
  return client_bottom - shadow - text_height - 1;
}

int32_t line_offset(int32_t alignment, int32_t box_width, int32_t piece_width) {
  if (alignment == text_alignment::Centre) return (box_width - piece_width) >> 1;
  if (alignment == text_alignment::Right) return box_width - piece_width;
  return 0;
}

TextLineCutter::TextLineCutter(const char* text, int32_t length) : text_(text), budget_(length) {
  if (text_ == nullptr) budget_ = 0;
}

bool TextLineCutter::next(TextPiece& piece) {
  if (budget_ <= 0 || text_[position_] == 0) return false;
  // The scan never passes the budget, so a text that is not zero-terminated is safe
  // whenever its length is given.
  int32_t taken = 0;
  while (taken < budget_ && text_[position_ + taken] != 0 && !is_line_end(text_[position_ + taken])) ++taken;
  if (taken < budget_ && is_line_end(text_[position_ + taken])) {
    char end = text_[position_ + taken];
    ++taken;
    char after = taken < budget_ ? text_[position_ + taken] : 0;
    if ((end == '\r' && after == '\n') || (end == '\n' && after == '\r')) ++taken;
  }
  piece.start = position_;
  piece.length = taken;
  if (piece.length > 0 && is_line_end(text_[piece.start + piece.length - 1])) {
    --piece.length;
    if (piece.length > 0 && is_line_end(text_[piece.start + piece.length - 1])) --piece.length;
  }
  position_ += taken;
  budget_ -= taken;
  return true;
}

}  // namespace ui
