// Vertical gradient: GradientFill when msimg32 has it, else banded solid fills.
#include "ui/gradient_fill.h"

#include "core/win/optional_functions.h"
#include "ui/gradient_layout.h"

namespace ui {
namespace {

TRIVERTEX vertex(LONG x, LONG y, COLORREF colour) {
  TRIVERTEX v;
  v.x = x;
  v.y = y;
  v.Red = static_cast<COLOR16>(GetRValue(colour) << 8);
  v.Green = static_cast<COLOR16>(GetGValue(colour) << 8);
  v.Blue = static_cast<COLOR16>(GetBValue(colour) << 8);
  v.Alpha = 0;
  return v;
}

void band_fill(HDC dc, const RECT& rect, COLORREF top_colour, COLORREF bottom_colour) {
  BandFill bands(rect.top, rect.bottom, top_colour, bottom_colour);
  int32_t y = 0;
  uint32_t colour = 0;
  while (bands.next(y, colour)) {
    RECT band = {rect.left, y, rect.right + 1, y + bands.band_height()};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &band, brush);
    DeleteObject(brush);
  }
}

}  // namespace

void gradient_fill(HDC dc, const RECT& rect, COLORREF top_colour, COLORREF bottom_colour) {
  auto fill = core::optional_function<core::Optional::GradientFill>();
  if (fill == nullptr) {
    band_fill(dc, rect, top_colour, bottom_colour);
    return;
  }
  TRIVERTEX vertices[2] = {vertex(rect.left, rect.top, top_colour), vertex(rect.right, rect.bottom, bottom_colour)};
  GRADIENT_RECT mesh = {0, 1};
  fill(dc, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
}

}  // namespace ui
