// Photographs of the screen or of one window, saved as 24-bit bitmap files.
#pragma once

#include <string>

#include "core/win/windows.h"

namespace ui_driver {

// Copies the screen's pixels inside `window`'s rectangle (the whole screen for nullptr)
// into the bitmap file `path`. Taken from the screen, so the window's controls and any
// window over it are in the picture as the user sees them. An error text, or "".
std::string save_screenshot(HWND window, const std::string& path);

}  // namespace ui_driver
