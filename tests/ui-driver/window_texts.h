// Windows of another process: finding them, reading their texts and describing them.
#pragma once

#include <string>
#include <vector>

#include "core/win/windows.h"

namespace ui_driver {

// The visible top-level windows of the process, in Z order (topmost first).
std::vector<HWND> visible_windows(DWORD process_id);

// The first window of `windows` whose title or class name contains `pattern` (ignoring
// case); enabled windows first, since a modal dialog disables the window that owns it.
// nullptr when none matches.
HWND find_window(const std::vector<HWND>& windows, const std::string& pattern);

std::string window_title(HWND window);
std::string class_name(HWND window);

// The direct and indirect child windows of `window` with the control id `id`.
std::vector<HWND> controls_with_id(HWND window, int id);

// The entries of a list box.
std::vector<std::string> list_entries(HWND list);

// A multi-line account of the window: title, class, enabled state and every control with
// its id, class and text (list boxes with their entries), each line starting with `indent`.
std::string describe_window(HWND window, const std::string& indent = "  ");

// Every visible top-level window of the process described, or a line saying there is none.
std::string describe_windows(DWORD process_id);

}  // namespace ui_driver
