// Helpers of the dialog tests: a small two-language table in the run state, an owner
// window standing in for the background, a script that answers modal dialogs and message
// boxes from a timer, control inspection, and screenshots saved as bitmap files.
#pragma once

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <functional>
#include <string>
#include <vector>

#include "archive/language_tables.h"
#include "core/win/windows.h"
#include "win/screen_capture.h"
#include "ui/run_state.h"

namespace test_support {

// English and German texts of the ids the dialogs use.
struct LanguageText {
  int32_t id;
  const char* english;
  const char* german;
};
inline const LanguageText kDialogTexts[] = {
    {0, "<product> Setup", "<product> Installation"},
    {1, "Install <product>?", "<product> installieren?"},
    {2, "Existing installation", "Vorhandene Installation"},
    {3, "<product> is already installed in:", "<product> ist bereits installiert in:"},
    {7, "Install over it?", "Dar\xfc" "ber installieren?"},
    {8, "Loading...", "Laden..."},
    {11, "Please choose the directory for <product>:", "Bitte w\xe4hlen Sie das Verzeichnis f\xfcr <product>:"},
    {14, "This is not a valid directory:", "Dies ist kein g\xfcltiges Verzeichnis:"},
    {16, "Drive %c: does not exist.", "Laufwerk %c: gibt es nicht."},
    {17, "Please choose a directory, not a drive.", "Bitte ein Verzeichnis w\xe4hlen, kein Laufwerk."},
    {18, "Please choose a directory inside %s.", "Bitte ein Verzeichnis in %s w\xe4hlen."},
    {19, "%s are needed on drive %c:, %s are free. Continue?", "%s auf Laufwerk %c: n\xf6tig, %s frei. Weiter?"},
    {20, "Warning", "Warnung"},
    {21, "Error", "Fehler"},
    {22, "Install into %s?", "In %s installieren?"},
    {23, "Create %s?", "%s anlegen?"},
    {24, "Installation Directory", "Installationsverzeichnis"},
    {25, "The directory could not be created:", "Das Verzeichnis konnte nicht angelegt werden:"},
    {28, "Do you really want to cancel the installation?", "Wollen Sie die Installation wirklich abbrechen?"},
    {37, "Restart now?", "Jetzt neu starten?"},
    {39, "Installing <product>", "<product> wird installiert"},
    {44, "Licence Agreement", "Lizenzvereinbarung"},
    {45, "I Agree", "Ich stimme zu"},
    {46, "I Do Not Agree", "Ich stimme nicht zu"},
    {47, "Please read the following licence agreement carefully.",
     "Bitte lesen Sie die folgende Lizenzvereinbarung sorgf\xe4ltig."},
    {48, "OK", "OK"},
    {49, "Cancel", "Abbrechen"},
    {50, "Read Me", "Liesmich"},
    {51, "Please read the following information.", "Bitte lesen Sie die folgenden Hinweise."},
    {52, "Browse...", "Durchsuchen..."},
    {54, "Installation", "Installation"},
    {55, "Removal", "Entfernen"},
    {65, "Setup", "Installation"},
    {66, "Network directories are not allowed.", "Netzwerkverzeichnisse sind nicht erlaubt."},
    {71, "Removing <product>", "<product> wird entfernt"},
};

// The run state of a fresh test: the module, the flag words read (all clear), English
// and German tables with language 0 current, product "Sample Product".
inline void reset_run_state() {
  ui::RunState& state = ui::run_state();
  state.instance = GetModuleHandleA(nullptr);
  state.automatic = false;
  state.uninstalling = false;
  state.progress_dialog = nullptr;
  state.progress_bar = nullptr;
  state.settings = archive::Settings();
  state.settings.product_name = "Sample Product";
  state.settings_read = true;
  state.environment.windows_directory = "C:\\windows";
  state.install_directory.clear();
  state.reinstall = false;
  state.previous_shared_files.clear();
  state.header = archive::ArchiveHeader();
  archive::LanguageTables& tables = state.settings.languages;
  tables.reset(2, 72);
  tables.set_language_name(0, "English");
  tables.set_language_name(1, "Deutsch");
  for (const LanguageText& text : kDialogTexts) {
    tables.set_text(text.id, 0, text.english);
    tables.set_text(text.id, 1, text.german);
  }
  state.languages_loaded = true;
}

// A small window that stands in for the background window as owner of the dialogs. One
// serves the whole program: under Wine without a window manager, destroying a visible
// top-level window waits seconds for the manager that never answers.
class OwnerWindow {
 public:
  OwnerWindow() {
    static HWND shared = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr,
                                         nullptr, GetModuleHandleA(nullptr), nullptr);
    window_ = shared;
    ui::run_state().background_window = window_;
  }
  ~OwnerWindow() { ui::run_state().background_window = nullptr; }
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;
  HWND handle() const { return window_; }

 private:
  HWND window_;
};

inline std::string window_text(HWND window) {
  char text[4096] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

inline std::string item_text(HWND dialog, int id) { return window_text(GetDlgItem(dialog, id)); }

inline std::string class_of(HWND window) {
  char name[128] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

// Dispatches what is queued, so dialogs paint and posted messages arrive.
inline void pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// The static control that holds a message box's text.
constexpr int kMessageBoxText = 0xFFFF;

// What a modal script saw: a dialog's caption or a message box's caption and text.
struct Seen {
  std::string caption;
  std::string text;  // message boxes only
};

// Answers modal windows from a timer while a modal function runs. Each step waits for
// its kind of window: a message box, or a dialog that has control `dialog_control`; its
// action then fills fields and clicks. A window no step expects is recorded and closed
// with cancel (or no), so a test never hangs.
class ModalScript {
 public:
  struct Step {
    int dialog_control;  // 0: a message box
    std::function<void(HWND)> action;
  };

  explicit ModalScript(std::vector<Step> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 30, on_timer);
  }
  ~ModalScript() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

  const std::vector<Seen>& seen() const { return seen_; }
  const std::vector<Seen>& unexpected() const { return unexpected_; }
  bool finished() const { return next_ == steps_.size(); }

  // Clicks a button of a dialog or message box as the user would.
  static void click(HWND window, int id) {
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
  }

 private:
  static BOOL CALLBACK collect(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && IsWindowEnabled(window) && class_of(window) == "#32770") {
      reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
  }

  static void CALLBACK on_timer(HWND, UINT, UINT_PTR, DWORD) {
    if (current_ != nullptr && !current_->busy_) {
      current_->busy_ = true;
      current_->tick();
      current_->busy_ = false;
    }
  }

  void tick() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), collect, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
      if (window == handled_ && IsWindow(window)) continue;  // its click is on its way
      bool box = GetDlgItem(window, kMessageBoxText) != nullptr;
      Seen what{window_text(window), box ? item_text(window, kMessageBoxText) : ""};
      if (next_ < steps_.size()) {
        const Step& step = steps_[next_];
        bool matches = step.dialog_control == 0 ? box : (!box && GetDlgItem(window, step.dialog_control) != nullptr);
        if (matches) {
          seen_.push_back(what);
          ++next_;
          handled_ = window;
          step.action(window);
          return;
        }
      }
      if (++idle_ticks_ < 60) return;
      idle_ticks_ = 0;
      unexpected_.push_back(what);
      handled_ = window;
      click(window, box ? (GetDlgItem(window, IDNO) != nullptr ? IDNO : IDCANCEL) : 1003);
      return;
    }
  }

  static inline ModalScript* current_ = nullptr;
  std::vector<Step> steps_;
  size_t next_ = 0;
  std::vector<Seen> seen_;
  std::vector<Seen> unexpected_;
  UINT_PTR timer_ = 0;
  HWND handled_ = nullptr;
  int idle_ticks_ = 0;
  bool busy_ = false;
};

// Saves what the screen shows of the window, frame included, as NAME.bmp in the
// screenshot folder (if there is one).
inline void save_window_screenshot(HWND window, const std::string& name) {
  std::string folder = screenshot_folder();
  if (folder.empty()) return;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  pump();
  RECT box;
  GetWindowRect(window, &box);
  save_bitmap_file(capture_screen(box), folder + "\\" + name + ".bmp");
}

}  // namespace test_support
