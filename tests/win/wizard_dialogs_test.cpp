// The wizard's dialogs from the program's own templates: controls and texts of each, the
// language dialog's preselection and relabelling, the modal results, and screenshots of
// each dialog in English and German.
#include "ui/wizard_dialogs.h"

#include <gtest/gtest.h>

#include <string>

#include "core/win/windows.h"
#include "ui/background_window.h"
#include "ui/directory_rules.h"
#include "ui/resource_ids.h"
#include "ui/run_state.h"
#include "win/dialog_test_support.h"

namespace ui {
namespace {

using test_support::class_of;
using test_support::item_text;
using test_support::ModalScript;
using test_support::window_text;

constexpr char kLicence[] =
    "1. You may install this product on any number of computers.\r\n"
    "2. You may not sell it.\r\n\r\n"
    "THE PRODUCT IS PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND.";

class WizardDialogs : public testing::Test {
 protected:
  void SetUp() override {
    test_support::reset_run_state();
    background_appearance().title.clear();
  }
  void TearDown() override {
    if (dialog_ != nullptr) DestroyWindow(dialog_);
    test_support::pump();
  }
  HWND open(const char* name, DLGPROC procedure, LPARAM parameter = 0) {
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), name, owner_.handle(), procedure, parameter);
    EXPECT_NE(dialog_, nullptr) << name;
    test_support::pump();
    return dialog_;
  }
  void set_language(int32_t index) { run_state().settings.languages.set_current_language(index); }

  test_support::OwnerWindow owner_;
  HWND dialog_ = nullptr;
};

// Every control of a template: its id, class and (where fixed) text.
struct Control {
  int id;
  const char* window_class;
  const char* text;  // nullptr: not checked
};

void expect_controls(HWND dialog, std::initializer_list<Control> controls) {
  for (const Control& control : controls) {
    SCOPED_TRACE(control.id);
    HWND item = GetDlgItem(dialog, control.id);
    ASSERT_NE(item, nullptr);
    EXPECT_STRCASEEQ(class_of(item).c_str(), control.window_class);
    if (control.text != nullptr) {
      EXPECT_EQ(window_text(item), control.text);
    }
  }
}

// The templates as stored: style, control count, position and size in dialog units.
TEST(DialogTemplates, AsStored) {
  struct Case {
    const char* name;
    DWORD style;
    WORD controls;
    short x, y, width, height;
  };
  const Case cases[] = {
      {"LanguageDlg", 0x90C800C0, 3, 0, 0, 180, 125}, {"LicenseDlg", 0x90C800C0, 4, 0, 0, 284, 178},
      {"ReadmeDlg", 0x90C800C0, 4, 0, 0, 239, 148},   {"ChooseDirDlg", 0x90C800C0, 5, 0, 0, 239, 57},
      {"ProgressDlg", 0x90C800C0, 4, 6, 15, 195, 60},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HRSRC found = FindResourceA(nullptr, c.name, MAKEINTRESOURCEA(5));  // RT_DIALOG
    ASSERT_NE(found, nullptr);
    const DLGTEMPLATE* stored = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(nullptr, found)));
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->style, c.style);
    EXPECT_EQ(stored->dwExtendedStyle, 0u);
    EXPECT_EQ(stored->cdit, c.controls);
    EXPECT_EQ(stored->x, c.x);
    EXPECT_EQ(stored->y, c.y);
    EXPECT_EQ(stored->cx, c.width);
    EXPECT_EQ(stored->cy, c.height);
    // After the header: menu, class and caption, then the font's size and name.
    const WORD* word = reinterpret_cast<const WORD*>(stored + 1);
    EXPECT_EQ(*word++, 0);  // no menu
    EXPECT_EQ(*word++, 0);  // the standard class
    std::wstring caption;
    while (*word != 0) caption += static_cast<wchar_t>(*word++);
    ++word;
    EXPECT_EQ(caption, std::string(c.name) == "LanguageDlg" ? L"Choose Your Language" : L"");
    EXPECT_EQ(*word++, 10);
    std::wstring font;
    while (*word != 0) font += static_cast<wchar_t>(*word++);
    EXPECT_EQ(font, L"Arial");
  }
}

TEST_F(WizardDialogs, TextDialogsInBothLanguages) {
  struct Case {
    const char* name;
    DLGPROC procedure;
    int32_t language;
    const char* title;
    const char* heading;
    const char* ok;
    const char* cancel;
    const char* screenshot;
  };
  const Case cases[] = {
      {"LicenseDlg", licence_dialog_procedure, 0, "Licence Agreement",
       "Please read the following licence agreement carefully.", "I Agree", "I Do Not Agree", "licence-en"},
      {"LicenseDlg", licence_dialog_procedure, 1, "Lizenzvereinbarung",
       "Bitte lesen Sie die folgende Lizenzvereinbarung sorgf\xe4ltig.", "Ich stimme zu", "Ich stimme nicht zu",
       "licence-de"},
      {"ReadmeDlg", readme_dialog_procedure, 0, "Read Me", "Please read the following information.", "OK", "Cancel",
       "readme-en"},
      {"ReadmeDlg", readme_dialog_procedure, 1, "Liesmich", "Bitte lesen Sie die folgenden Hinweise.", "OK",
       "Abbrechen", "readme-de"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.screenshot);
    set_language(c.language);
    HWND dialog = open(c.name, c.procedure, reinterpret_cast<LPARAM>(kLicence));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(window_text(dialog), c.title);
    expect_controls(dialog, {{IDC_HEADING, "static", c.heading},
                             {IDC_TEXT, "edit", kLicence},
                             {IDC_OK, "button", c.ok},
                             {IDC_CANCEL, "button", c.cancel}});
    LONG style = GetWindowLongA(GetDlgItem(dialog, IDC_TEXT), GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & WS_VSCROLL);
    test_support::save_window_screenshot(dialog, c.screenshot);
    DestroyWindow(dialog);
    dialog_ = nullptr;
  }
}

TEST_F(WizardDialogs, DirectoryDialogShowsTheDirectoryWithinALimit) {
  std::string long_path = "C:\\" + std::string(300, 'x');
  const struct {
    int32_t language;
    std::string directory;
    std::string shown;
    const char* screenshot;
  } cases[] = {
      {0, "C:\\Program Files\\Sample Product", "C:\\Program Files\\Sample Product", "directory-en"},
      {1, "C:\\Programme\\Beispiel", "C:\\Programme\\Beispiel", "directory-de"},
      {0, long_path, long_path.substr(0, 259), nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.directory);
    set_language(c.language);
    run_state().install_directory = c.directory.c_str();
    HWND dialog = open("ChooseDirDlg", directory_dialog_procedure);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(window_text(dialog), c.language == 0 ? "Installation Directory" : "Installationsverzeichnis");
    expect_controls(dialog, {{IDC_HEADING, "static", c.language == 0
                                                         ? "Please choose the directory for Sample Product:"
                                                         : "Bitte w\xe4hlen Sie das Verzeichnis f\xfcr Sample Product:"},
                             {IDC_DIRECTORY, "edit", c.shown.c_str()},
                             {IDC_BROWSE, "button", c.language == 0 ? "Browse..." : "Durchsuchen..."},
                             {IDC_OK, "button", "OK"},
                             {IDC_CANCEL, "button", c.language == 0 ? "Cancel" : "Abbrechen"}});
    if (c.screenshot != nullptr) test_support::save_window_screenshot(dialog, c.screenshot);
    DestroyWindow(dialog);
    dialog_ = nullptr;
  }
}

TEST_F(WizardDialogs, LanguageDialogPreselects) {
  char system_name[256] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLANGUAGE, system_name, 255);
  std::string system_prefix = language_name_prefix(system_name).text();
  SCOPED_TRACE("system language: " + std::string(system_name));
  struct Case {
    std::vector<std::string> names;
    int expected;
  };
  std::vector<Case> cases = {
      {{"Zzz", "English (UK)", "English"}, 1},  // the system's language or else English
      {{"Zzz", "Yyy"}, 0},                      // neither: the first
  };
  // A system in another language picks its own entry over English.
  if (!system_prefix.empty() && system_prefix != "English") {
    cases.push_back({{"English", "zzz", system_prefix + " (x)"}, 2});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.names.back());
    archive::LanguageTables& tables = run_state().settings.languages;
    tables.reset(static_cast<int32_t>(c.names.size()), 72);
    for (size_t i = 0; i < c.names.size(); ++i) {
      tables.set_language_name(static_cast<int32_t>(i), c.names[i].c_str());
      tables.set_text(0, static_cast<int32_t>(i), ("Title " + std::to_string(i)).c_str());
      tables.set_text(48, static_cast<int32_t>(i), ("OK " + std::to_string(i)).c_str());
    }
    HWND dialog = open("LanguageDlg", language_dialog_procedure);
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, IDC_LANGUAGES);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), static_cast<LRESULT>(c.names.size()));
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), c.expected);
    EXPECT_EQ(tables.current_language(), c.expected);
    EXPECT_EQ(item_text(dialog, IDC_OK), "OK " + std::to_string(c.expected));
    EXPECT_STREQ(background_appearance().title.text(), ("Title " + std::to_string(c.expected)).c_str());
    DestroyWindow(dialog);
    dialog_ = nullptr;
  }
}

TEST_F(WizardDialogs, LanguageDialogRelabelsOnSelectionChange) {
  HWND dialog = open("LanguageDlg", language_dialog_procedure);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(window_text(dialog), "Choose Your Language");
  expect_controls(dialog, {{IDC_LANGUAGES, "listbox", nullptr}, {IDC_OK, "button", "OK"}, {IDC_CANCEL, "button", "Cancel"}});
  HWND list = GetDlgItem(dialog, IDC_LANGUAGES);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
  EXPECT_STREQ(background_appearance().title.text(), "Sample Product Setup");
  test_support::save_window_screenshot(dialog, "language-en");

  SendMessageA(list, LB_SETCURSEL, 1, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGES, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(run_state().settings.languages.current_language(), 1);
  EXPECT_EQ(item_text(dialog, IDC_OK), "OK");
  EXPECT_EQ(item_text(dialog, IDC_CANCEL), "Abbrechen");
  EXPECT_STREQ(background_appearance().title.text(), "Sample Product Installation");
  EXPECT_EQ(window_text(dialog), "Choose Your Language");  // the caption is the template's
  test_support::save_window_screenshot(dialog, "language-de");
}

TEST_F(WizardDialogs, LanguageTitleFixedBySetting) {
  run_state().settings.flags2 = archive::flag2::FixedTitleInLanguageDialog;
  background_appearance().title = "Fixed";
  HWND dialog = open("LanguageDlg", language_dialog_procedure);
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, IDC_LANGUAGES);
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGES, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  EXPECT_STREQ(background_appearance().title.text(), "Fixed");
  EXPECT_EQ(item_text(dialog, IDC_CANCEL), "Abbrechen");  // the buttons still follow
}

TEST_F(WizardDialogs, ModalResults) {
  auto select_german_then = [](int control, int notification) {
    return [control, notification](HWND dialog) {
      HWND list = GetDlgItem(dialog, IDC_LANGUAGES);
      SendMessageA(list, LB_SETCURSEL, 1, 0);
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(control, notification),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, control)));
    };
  };
  {
    ModalScript script({{IDC_LANGUAGES, select_german_then(IDC_OK, BN_CLICKED)}});
    EXPECT_EQ(run_language_dialog(), IDC_OK);
    EXPECT_EQ(run_state().settings.languages.current_language(), 1);
    EXPECT_TRUE(script.finished());
  }
  set_language(0);
  {
    ModalScript script({{IDC_LANGUAGES, select_german_then(IDC_LANGUAGES, LBN_DBLCLK)}});
    EXPECT_EQ(run_language_dialog(), IDC_OK);
    EXPECT_EQ(run_state().settings.languages.current_language(), 1);
  }
  {
    ModalScript script({{IDC_LANGUAGES, [](HWND d) { ModalScript::click(d, IDC_CANCEL); }}});
    EXPECT_EQ(run_language_dialog(), IDC_CANCEL);
  }
  {
    // The close box's cancel command is no button of ours: the dialog stays until one is
    // clicked.
    ModalScript script({{IDC_TEXT,
                         [](HWND d) {
                           PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
                           ModalScript::click(d, IDC_CANCEL);
                         }}});
    EXPECT_EQ(run_licence_dialog(kLicence), IDC_CANCEL);
  }
  {
    ModalScript script({{IDC_TEXT, [](HWND d) { ModalScript::click(d, IDC_OK); }}});
    EXPECT_EQ(run_readme_dialog("read me"), IDC_OK);
    ASSERT_EQ(script.seen().size(), 1u);
    EXPECT_EQ(script.seen()[0].caption, "Read Me");
  }
}

TEST_F(WizardDialogs, DirectoryDialogTakesTheEditText) {
  run_state().install_directory = "C:\\Before";
  {
    ModalScript script({{IDC_DIRECTORY, [](HWND d) {
                           SetDlgItemTextA(d, IDC_DIRECTORY, "D:\\Chosen Place");
                           ModalScript::click(d, IDC_OK);
                         }}});
    EXPECT_TRUE(run_directory_dialog());
    EXPECT_STREQ(run_state().install_directory.text(), "D:\\Chosen Place");
  }
  {
    ModalScript script({{IDC_DIRECTORY, [](HWND d) {
                           SetDlgItemTextA(d, IDC_DIRECTORY, "E:\\Not Taken");
                           ModalScript::click(d, IDC_CANCEL);
                         }}});
    EXPECT_FALSE(run_directory_dialog());
    EXPECT_STREQ(run_state().install_directory.text(), "D:\\Chosen Place");
  }
}

}  // namespace
}  // namespace ui
