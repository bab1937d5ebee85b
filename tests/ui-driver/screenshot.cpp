// Photographs of the screen or of one window, saved as bitmap files.
#include "screenshot.h"

#include "win/screen_capture.h"

namespace ui_driver {

std::string save_screenshot(HWND window, const std::string& path) {
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (window != nullptr) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return "the window is gone";
    // Only the part on the screen can be photographed.
    IntersectRect(&area, &area, &rect);
  }
  if (area.right <= area.left || area.bottom <= area.top) return "the window has no area on the screen";
  test_support::Picture picture = test_support::capture_screen(area);
  if (picture.width == 0) return "cannot copy the screen's pixels";
  return test_support::save_bitmap_file(picture, path) ? "" : "cannot write " + path;
}

}  // namespace ui_driver
