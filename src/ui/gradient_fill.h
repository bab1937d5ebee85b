// The background's vertical colour gradient: the system's gradient fill where it exists,
// flat bands of 1 to 3 pixels where it does not.
#pragma once

#include "core/win/windows.h"

namespace ui {

// Fills rect from top_colour at its top edge to bottom_colour at its bottom edge.
void gradient_fill(HDC dc, const RECT& rect, COLORREF top_colour, COLORREF bottom_colour);

}  // namespace ui
