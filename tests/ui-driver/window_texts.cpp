// Windows of another process: finding them, reading their texts and describing them.
#include "window_texts.h"

#include <string.h>

#include <algorithm>

#include "script.h"

namespace ui_driver {
namespace {

struct WindowSearch {
  DWORD process_id;
  std::vector<HWND> found;
};

BOOL CALLBACK collect_top_level(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->process_id && IsWindowVisible(window)) search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK collect_child(HWND window, LPARAM parameter) {
  reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
  return TRUE;
}

std::vector<HWND> all_controls(HWND window) {
  std::vector<HWND> controls;
  EnumChildWindows(window, collect_child, reinterpret_cast<LPARAM>(&controls));
  return controls;
}

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return text;
}

// A message to a window of the other process; 0 when it does not answer within seconds.
LRESULT ask(HWND window, UINT message, WPARAM w, LPARAM l) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, w, l, SMTO_ABORTIFHUNG, 3000, &result)) return 0;
  return static_cast<LRESULT>(result);
}

LRESULT ask_wide(HWND window, UINT message, WPARAM w, LPARAM l) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, w, l, SMTO_ABORTIFHUNG, 3000, &result)) return 0;
  return static_cast<LRESULT>(result);
}

bool contains(const std::string& text, const std::string& pattern) {
  return lower(text).find(lower(pattern)) != std::string::npos;
}

}  // namespace

std::vector<HWND> visible_windows(DWORD process_id) {
  WindowSearch search{process_id, {}};
  EnumWindows(collect_top_level, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND find_window(const std::vector<HWND>& windows, const std::string& pattern) {
  HWND disabled_match = nullptr;
  for (HWND window : windows) {
    if (!contains(window_title(window), pattern) && !contains(class_name(window), pattern)) continue;
    if (IsWindowEnabled(window)) return window;
    if (disabled_match == nullptr) disabled_match = window;
  }
  return disabled_match;
}

std::string window_title(HWND window) {
  // WM_GETTEXT is marshalled between processes, and for a control it asks the control
  // itself (GetWindowText would not, for a window of another process).
  LRESULT length = ask(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return "";
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT copied = ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

std::string class_name(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof(name));
  return name;
}

std::vector<HWND> controls_with_id(HWND window, int id) {
  std::vector<HWND> matches;
  for (HWND control : all_controls(window)) {
    if ((GetDlgCtrlID(control) & 0xFFFF) == (id & 0xFFFF)) matches.push_back(control);
  }
  return matches;
}

std::vector<std::string> list_entries(HWND list) {
  std::vector<std::string> entries;
  LRESULT count = ask(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    // Wine hands list texts across processes in the wide form whatever was asked for, so
    // ask for that and convert.
    LRESULT length = ask_wide(list, LB_GETTEXTLEN, i, 0);
    std::wstring wide(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
    LRESULT copied = ask_wide(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
    wide.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    std::string entry(wide.size() * 2 + 1, '\0');
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), entry.data(),
                                    static_cast<int>(entry.size()), nullptr, nullptr);
    entry.resize(bytes > 0 ? static_cast<size_t>(bytes) : 0);
    entries.push_back(entry);
  }
  return entries;
}

std::string describe_window(HWND window, const std::string& indent) {
  std::string out = indent + "window \"" + escape(window_title(window)) + "\" class " + class_name(window) +
                    (IsWindowEnabled(window) ? "" : " (disabled)") + "\n";
  for (HWND control : all_controls(window)) {
    int id = GetDlgCtrlID(control) & 0xFFFF;
    std::string kind = class_name(control);
    out += indent + "  control " + std::to_string(id) + " " + kind;
    if (!IsWindowVisible(control)) out += " (hidden)";
    if (!IsWindowEnabled(control)) out += " (disabled)";
    out += ": \"" + escape(window_title(control)) + "\"\n";
    if (lower(kind) == "listbox") {
      LRESULT selected = ask(control, LB_GETCURSEL, 0, 0);
      std::vector<std::string> entries = list_entries(control);
      for (size_t i = 0; i < entries.size(); ++i) {
        out += indent + "    " + (static_cast<LRESULT>(i) == selected ? "*" : " ") + "[" + std::to_string(i) +
               "] \"" + escape(entries[i]) + "\"\n";
      }
    }
  }
  return out;
}

std::string describe_windows(DWORD process_id) {
  std::vector<HWND> windows = visible_windows(process_id);
  if (windows.empty()) return "  (the program shows no window)\n";
  std::string out;
  for (HWND window : windows) out += describe_window(window);
  return out;
}

}  // namespace ui_driver
