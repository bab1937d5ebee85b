// The one-thread message pump that keeps the windows alive during long work, and the
// centring every dialog of the program gets when it opens.
#pragma once

#include "core/win/windows.h"

namespace ui {

// Dispatches every queued message; true as soon as a dispatched one was WM_DESTROY,
// WM_CLOSE or WM_QUIT (the rest stay queued), false once the queue is empty.
bool pump_messages();

// Moves the window to the middle of the screen, clamped to the screen's size.
void center_window(HWND window);

}  // namespace ui
