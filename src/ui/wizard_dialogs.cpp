// The wizard's dialogs and their procedures.
#include "ui/wizard_dialogs.h"

#include "archive/language_tables.h"
#include "archive/settings.h"
#include "core/string.h"
#include "ui/background_window.h"
#include "ui/directory_rules.h"
#include "ui/folder_browser.h"
#include "ui/message_pump.h"
#include "ui/resource_ids.h"
#include "ui/run_state.h"

namespace ui {
namespace {

namespace text = archive::text_id;

// The edit field of the directory dialog holds what a path can hold.
constexpr int kDirectoryLimit = 259;

void set_item_text(HWND dialog, int id, int32_t text_id) { SetDlgItemTextA(dialog, id, localised(text_id).text()); }

core::String item_text(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  core::String result;
  int length = GetWindowTextLengthA(item);
  if (length <= 0) return result;
  result.set_length(length);
  int copied = GetWindowTextA(item, result.data(), length + 1);
  result.set_length(copied > 0 ? copied : 0);
  return result;
}

// The title on the background and the buttons follow the language under the selection.
void retitle_language_dialog(HWND dialog) {
  RunState& state = run_state();
  if (!has_flag2(archive::flag2::FixedTitleInLanguageDialog)) {
    background_appearance().title = localised(text::DisplayTitle);
  }
  set_item_text(dialog, IDC_OK, text::Ok);
  set_item_text(dialog, IDC_CANCEL, text::Cancel);
  if (state.background_window != nullptr) InvalidateRect(state.background_window, nullptr, TRUE);
}

// Selects the entry that starts like the system's language name, else the first English
// one, else the first.
void preselect_language(HWND list) {
  char name[256] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLANGUAGE, name, 255);
  core::String prefix = language_name_prefix(name);
  LRESULT found = LB_ERR;
  // An empty name would match the first entry; it names no language.
  if (!prefix.is_empty()) found = SendMessageA(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), (LPARAM)prefix.text());
  if (found == LB_ERR) found = SendMessageA(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), (LPARAM) "English");
  if (found == LB_ERR) SendMessageA(list, LB_SETCURSEL, 0, 0);
}

void init_language_dialog(HWND dialog) {
  archive::LanguageTables& languages = run_state().settings.languages;
  HWND list = GetDlgItem(dialog, IDC_LANGUAGES);
  for (int32_t i = 0; i < languages.language_count(); ++i) {
    SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)languages.language_name(i).text());
  }
  preselect_language(list);
  languages.set_current_language(static_cast<int32_t>(SendMessageA(list, LB_GETCURSEL, 0, 0)));
  retitle_language_dialog(dialog);
  center_window(dialog);
}

// The selection as a language index, clamped to the list.
int32_t chosen_language(HWND dialog) {
  int32_t count = run_state().settings.languages.language_count();
  int32_t selected = static_cast<int32_t>(SendDlgItemMessageA(dialog, IDC_LANGUAGES, LB_GETCURSEL, 0, 0));
  if (selected >= count) selected = count - 1;
  return selected < 0 ? 0 : selected;
}

void language_command(HWND dialog, int id, int notification) {
  archive::LanguageTables& languages = run_state().settings.languages;
  if (id == IDC_LANGUAGES && notification == LBN_SELCHANGE) {
    int32_t selected = static_cast<int32_t>(SendDlgItemMessageA(dialog, IDC_LANGUAGES, LB_GETCURSEL, 0, 0));
    if (languages.set_current_language(selected)) retitle_language_dialog(dialog);
  } else if ((id == IDC_OK && notification == BN_CLICKED) || (id == IDC_LANGUAGES && notification == LBN_DBLCLK)) {
    languages.set_current_language(chosen_language(dialog));
    EndDialog(dialog, IDC_OK);
  } else if (id == IDC_CANCEL && notification == BN_CLICKED) {
    EndDialog(dialog, IDC_CANCEL);
  }
}

// The labels of a text dialog: caption, heading, the two buttons; then the text.
struct TextDialogLabels {
  int32_t title;
  int32_t heading;
  int32_t ok;
  int32_t cancel;
};

INT_PTR text_dialog(const TextDialogLabels& labels, HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowTextA(dialog, localised(labels.title).text());
      set_item_text(dialog, IDC_HEADING, labels.heading);
      set_item_text(dialog, IDC_OK, labels.ok);
      set_item_text(dialog, IDC_CANCEL, labels.cancel);
      SetDlgItemTextA(dialog, IDC_TEXT, lparam != 0 ? reinterpret_cast<const char*>(lparam) : "");
      center_window(dialog);
      // The text keeps the focus for scrolling by keys, but not the selection of the whole
      // text that the focus brings.
      PostMessageA(GetDlgItem(dialog, IDC_TEXT), EM_SETSEL, 0, 0);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDC_OK || LOWORD(wparam) == IDC_CANCEL) EndDialog(dialog, LOWORD(wparam));
      return FALSE;
    default:
      return FALSE;
  }
}

void init_directory_dialog(HWND dialog) {
  SetWindowTextA(dialog, localised(text::ConfirmCaption).text());
  set_item_text(dialog, IDC_HEADING, text::DirectoryCaption);
  set_item_text(dialog, IDC_OK, text::Ok);
  set_item_text(dialog, IDC_CANCEL, text::Cancel);
  set_item_text(dialog, IDC_BROWSE, text::Browse);
  core::String directory = run_state().install_directory;
  directory.truncate(kDirectoryLimit);
  SendDlgItemMessageA(dialog, IDC_DIRECTORY, EM_LIMITTEXT, kDirectoryLimit, 0);
  SetDlgItemTextA(dialog, IDC_DIRECTORY, directory.text());
  center_window(dialog);
}

void directory_command(HWND dialog, int id, int notification) {
  if (notification != BN_CLICKED) return;
  if (id == IDC_OK) {
    run_state().install_directory = item_text(dialog, IDC_DIRECTORY);
    EndDialog(dialog, 1);
  } else if (id == IDC_CANCEL) {
    EndDialog(dialog, 0);
  } else if (id == IDC_BROWSE) {
    core::String path = item_text(dialog, IDC_DIRECTORY);
    if (browse_for_folder(dialog, path)) SetDlgItemTextA(dialog, IDC_DIRECTORY, path.text());
  }
}

int run_dialog(const char* name, DLGPROC procedure, LPARAM parameter) {
  RunState& state = run_state();
  return static_cast<int>(DialogBoxParamA(state.instance, name, state.background_window, procedure, parameter));
}

}  // namespace

INT_PTR CALLBACK language_dialog_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      init_language_dialog(dialog);
      return TRUE;
    case WM_COMMAND:
      language_command(dialog, LOWORD(wparam), HIWORD(wparam));
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK licence_dialog_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  static constexpr TextDialogLabels labels = {text::LicenceTitle, text::LicenceCaption, text::LicenceOk,
                                              text::LicenceCancel};
  return text_dialog(labels, dialog, message, wparam, lparam);
}

INT_PTR CALLBACK readme_dialog_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  static constexpr TextDialogLabels labels = {text::ReadmeTitle, text::ReadmeCaption, text::Ok, text::Cancel};
  return text_dialog(labels, dialog, message, wparam, lparam);
}

INT_PTR CALLBACK directory_dialog_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      init_directory_dialog(dialog);
      return TRUE;
    case WM_COMMAND:
      directory_command(dialog, LOWORD(wparam), HIWORD(wparam));
      return FALSE;
    default:
      return FALSE;
  }
}

int run_language_dialog() { return run_dialog("LanguageDlg", language_dialog_procedure, 0); }

int run_licence_dialog(const char* text) {
  return run_dialog("LicenseDlg", licence_dialog_procedure, reinterpret_cast<LPARAM>(text));
}

int run_readme_dialog(const char* text) {
  return run_dialog("ReadmeDlg", readme_dialog_procedure, reinterpret_cast<LPARAM>(text));
}

bool run_directory_dialog() { return run_dialog("ChooseDirDlg", directory_dialog_procedure, 0) == 1; }

}  // namespace ui
