// The progress dialog and the status routines of long work.
#include "ui/progress_dialog.h"

#include <commctrl.h>

#include "archive/language_tables.h"
#include "archive/settings.h"
#include "ui/message_pump.h"
#include "ui/reporting.h"
#include "ui/resource_ids.h"
#include "ui/run_state.h"

namespace ui {
namespace {

// The progress bar's class lives in the common-controls library, which registers it only
// when asked; with the version 6 controls of our manifest it is never there by itself.
void register_progress_class() {
  static bool registered = false;
  if (registered) return;
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
  registered = InitCommonControlsEx(&controls) != FALSE;
}

void init_progress_dialog(HWND dialog) {
  RunState& state = run_state();
  center_window(dialog);
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  HWND frame = GetDlgItem(dialog, IDC_PROGRESS_FRAME);
  if (frame != nullptr && GetWindowPlacement(frame, &placement)) {
    const RECT& box = placement.rcNormalPosition;
    // One pixel beyond the frame on every side, so the bar covers it.
    state.progress_bar = CreateWindowExA(0, PROGRESS_CLASSA, nullptr, WS_CHILD | WS_VISIBLE, box.left - 1,
                                         box.top - 1, box.right - box.left + 3, box.bottom - box.top + 3, dialog,
                                         nullptr, state.instance, nullptr);
  }
  SetDlgItemTextA(dialog, IDC_CANCEL, localised(archive::text_id::Cancel).text());
  if (state.uninstalling || has_flag(archive::flag::DisableCancel)) {
    EnableWindow(GetDlgItem(dialog, IDC_CANCEL), FALSE);
  }
}

}  // namespace

INT_PTR CALLBACK progress_dialog_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      init_progress_dialog(dialog);
      return TRUE;
    case WM_COMMAND:
      // Only the button's own click: the caption's close box sends a cancel command
      // without a control window, and that does nothing.
      if (lparam != 0 && LOWORD(wparam) == IDC_CANCEL && !has_flag(archive::flag::DisableCancel)) {
        confirm_cancel();
      }
      return FALSE;
    default:
      return FALSE;
  }
}

void open_progress_dialog() {
  RunState& state = run_state();
  register_progress_class();
  state.progress_dialog =
      CreateDialogParamA(state.instance, "ProgressDlg", state.background_window, progress_dialog_procedure, 0);
  if (state.progress_dialog == nullptr) return;
  bool removing = state.uninstalling;
  SetWindowTextA(state.progress_dialog,
                 localised(removing ? archive::text_id::ProgressTitleUninstalling
                                    : archive::text_id::ProgressTitleInstalling)
                     .text());
  SetDlgItemTextA(state.progress_dialog, IDC_HEADING,
                  localised(removing ? archive::text_id::CaptionUninstalling : archive::text_id::CaptionInstalling)
                      .text());
}

void close_progress_dialog() {
  RunState& state = run_state();
  if (state.progress_dialog == nullptr) return;
  DestroyWindow(state.progress_dialog);
  state.progress_dialog = nullptr;
}

bool set_status_text(const char* text) {
  HWND dialog = run_state().progress_dialog;
  if (dialog != nullptr) {
    SetDlgItemTextA(dialog, IDC_STATUS, text != nullptr ? text : "");
    UpdateWindow(dialog);
  }
  return pump_messages();
}

bool set_progress(int32_t percent) {
  HWND bar = run_state().progress_bar;
  if (bar != nullptr) PostMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
  return pump_messages();
}

void mark_time() { run_state().marked_tick = GetTickCount(); }

bool set_status(int32_t id) {
  mark_time();
  return set_status_text(localised(id).text());
}

bool set_status_and_progress(int32_t id, int32_t percent) {
  set_status(id);
  return set_progress(percent);
}

void wait_minimum(int32_t milliseconds) {
  RunState& state = run_state();
  if (state.automatic) return;
  for (int32_t round = 0; round < milliseconds; ++round) {
    if (pump_messages()) return;
    // The tick count wraps after 49 days; the difference is taken either way round.
    int64_t elapsed = static_cast<int64_t>(GetTickCount()) - static_cast<int64_t>(state.marked_tick);
    if (elapsed < 0) elapsed = -elapsed;
    if (elapsed >= milliseconds) return;
    Sleep(50);
  }
}

void confirm_cancel() {
  int answer = message_box(localised(archive::text_id::CancelQuestion).text(),
                           localised(archive::text_id::WarningCaption).text(), MB_ICONQUESTION | MB_YESNO);
  if (answer == IDYES) exit_installer();
}

}  // namespace ui
