// The modeless progress dialog: a heading, a bar, a status line and a cancel button; the
// status and progress routines that pump the queue as they go, the minimum time a status
// stays readable, and the cancel confirmation.
#pragma once

#include <stdint.h>

#include "core/win/windows.h"

namespace ui {

// Creates the dialog from "ProgressDlg" as a child of the background window and titles it
// for installing or uninstalling. Without a dialog (creation failed) the routines below
// find no window and only pump; message boxes stay owned by the background window.
void open_progress_dialog();

// Destroys the dialog if it exists and forgets it (the bar's handle is kept; it is dead).
void close_progress_dialog();

// Puts text into the status line unchanged (no formatting), updates the dialog and pumps;
// returns the pump's quit flag.
bool set_status_text(const char* text);

// Posts the percentage (0..100) to the bar if there is one, then pumps; the quit flag.
bool set_progress(int32_t percent);

// Remembers the time of a status change.
void mark_time();

// mark_time, then set_status_text with localised text `id`; the quit flag.
bool set_status(int32_t id);

// set_status, then set_progress; the quit flag of set_progress.
bool set_status_and_progress(int32_t id, int32_t percent);

// Waits, pumping every 50 ms, until `milliseconds` have passed since the last status
// change, at most `milliseconds` rounds; stops early when the pump reports a close or
// quit. Returns at once in automatic mode.
void wait_minimum(int32_t milliseconds);

// Asks whether to cancel the installation (localised texts 28 and 20, yes and no); on yes
// ends the program through exit_installer, otherwise returns.
void confirm_cancel();

// The dialog's procedure: centres it, creates the bar over the frame control, labels and
// (in uninstall mode or with cancel disabled) disables the cancel button; a click on
// cancel asks for confirmation.
INT_PTR CALLBACK progress_dialog_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace ui
