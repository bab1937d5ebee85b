// The message pump and window centring.
#include "ui/message_pump.h"

namespace ui {

bool pump_messages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
    if (message.message == WM_DESTROY || message.message == WM_CLOSE || message.message == WM_QUIT) return true;
  }
  return false;
}

void center_window(HWND window) {
  int screen_width = GetSystemMetrics(SM_CXSCREEN);
  int screen_height = GetSystemMetrics(SM_CYSCREEN);
  RECT rect;
  if (!GetWindowRect(window, &rect)) return;
  // Inclusive counting: one more than the window's size, as the layout has always been.
  int width = rect.right - rect.left + 1;
  int height = rect.bottom - rect.top + 1;
  if (width > screen_width) width = screen_width;
  if (height > screen_height) height = screen_height;
  int x = (screen_width - width) >> 1;
  int y = (screen_height - height) >> 1;
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  MoveWindow(window, x, y, width, height, FALSE);
}

}  // namespace ui
