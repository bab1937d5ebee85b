// The modal dialogs before installation: the language choice, a licence text, a readme
// text and the installation directory. Each is owned by the background window, centred,
// and labelled from the language tables (the language dialog's caption excepted).
#pragma once

#include "core/win/windows.h"

namespace ui {

// Lets the user choose the language; the current language follows the selection.
// 1001 for OK (or a double click), 1003 for cancel; -1 when the dialog cannot be shown.
int run_language_dialog();

// Shows a licence or readme text (shown as given); 1001 for OK, 1003 for cancel, -1 when
// the dialog cannot be shown.
int run_licence_dialog(const char* text);
int run_readme_dialog(const char* text);

// Asks for the installation directory, starting from the current one. True on OK, with
// run_state().install_directory replaced by the edit field's text; false otherwise.
bool run_directory_dialog();

// The procedures, for the dialogs above and for tests that create them modelessly. The
// licence and readme procedures take the text as the creation parameter (a const char*).
INT_PTR CALLBACK language_dialog_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK licence_dialog_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK readme_dialog_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK directory_dialog_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace ui
