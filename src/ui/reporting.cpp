// The exit routine and the messages that end or interrupt the run.
#include "ui/reporting.h"

#include <stdarg.h>

#include "core/win/windows.h"

#include <ole2.h>

#include "core/text_format.h"
#include "ui/message_pump.h"
#include "ui/run_state.h"

namespace ui {
namespace {

constexpr char kCorruptMessage[] =
    "This installation program is corrupt.  This is usually caused by a faulty download, but it can also be "
    "caused by a virus on your computer.  The installation cannot proceed.\r\n\r\nDelete the corrupted "
    "installer (to prevent caching), then re-download it.  If the problem persists, check your system for "
    "viruses.\r\n\r\nError code: %d";

}  // namespace

void start_ole() { OleInitialize(nullptr); }

void exit_installer() {
  RunState& state = run_state();
  if (state.progress_dialog != nullptr) {
    DestroyWindow(state.progress_dialog);
    state.progress_dialog = nullptr;
  }
  if (state.background_window != nullptr) {
    ShowWindow(state.background_window, SW_MINIMIZE);
    DestroyWindow(state.background_window);
    state.background_window = nullptr;
  }
  pump_messages();
  OleUninitialize();
  ExitProcess(1);
}

int message_box(const char* text, const char* caption, unsigned style) {
  return MessageBoxA(owner_window(), text, caption, style);
}

void fatal_error(const char* text) {
  message_box(text != nullptr ? text : "", "FATAL ERROR", MB_TASKMODAL | MB_ICONERROR);
  exit_installer();
}

void fatal_errorf(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  core::String text;
  text.vformat(format, arguments);
  va_end(arguments);
  fatal_error(text.text());
}

void internal_fatal_error(const char* module, int line) {
  fatal_errorf("Internal Fatal Error\r\nModule: %s\r\nLine: %d", module, line);
}

void report_corrupt(int code) {
  const core::String& text = localised(archive::text_id::CorruptInstaller);
  // The archive's text is a format of its own: formatted against the code alone, so a
  // text with other conversions cannot read what was never passed.
  if (!text.is_empty()) fatal_error(core::format_text(text.text(), {code}).text());
  fatal_errorf(kCorruptMessage, code);
}

void show_error(const char* format, ...) {
  if (run_state().automatic && !has_flag2(archive::flag2::ErrorsInAutomaticMode)) return;
  va_list arguments;
  va_start(arguments, format);
  core::String text;
  text.vformat(format, arguments);
  va_end(arguments);
  if (text.is_blank()) return;
  const core::String& caption = localised(archive::text_id::ErrorCaption);
  message_box(text.text(), caption.is_empty() ? "Error" : caption.text(), MB_ICONERROR);
}

void show_wait_cursor() { SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT))); }

void hide_wait_cursor() { SetCursor(nullptr); }

}  // namespace ui
