// qvin-ui-driver: runs a script of window commands against a program it starts, so the
// end-to-end tests can read, drive and photograph its windows.
//
//   qvin-ui-driver [SCRIPT]     one command a line; no SCRIPT or "-" reads standard input
//
// Commands ("#" starts a comment line; timeouts in milliseconds, 60000 when left out, so
// that a slow Wine start does not fail a test):
//   start EXE [ARGS...]           start the program; ARGS are passed exactly as written
//   wait-window PATTERN [TIMEOUT] wait for a visible top-level window of the program whose
//                                 title or class contains PATTERN (any case); it becomes
//                                 the current window
//   wait-message-box [PATTERN] [TIMEOUT]
//                                 the same for a message box (a window with the static
//                                 text control 65535), which tells it from a dialog of
//                                 the same caption
//   wait-close [TIMEOUT]          wait until the current window is gone
//   expect-text ID|window TEXT    the control's (or the window's) text is exactly TEXT
//   expect-prefix ID|window TEXT  the text begins with TEXT (for texts holding figures
//                                 of the machine, such as free disk space)
//   text ID|window                print the text
//   list ID                       print the entries of a list box ("*" marks the selection)
//   select ID INDEX               select a list entry and tell the dialog (LBN_SELCHANGE)
//   type ID TEXT                  replace the text of a control
//   click ID                      click a button (BM_CLICK; WM_COMMAND for other controls)
//   screenshot FILE.bmp [screen]  photograph the current window (or the whole screen)
//   windows                       print every window of the program with its controls
//   wait-exit CODE [TIMEOUT]      wait for the program to end with exit code CODE; every
//                                 window shown meanwhile is printed as "seen window ..."
//   copy FROM TO                  copy a file, as a user supplies a missing one
//   hold FILE                     open an existing file without sharing it and keep it
//                                 open until the driver ends, as a running program does
//   link FILE.lnk                 print a shortcut's fields as read through the shell (the
//                                 rest of the line is the path):
//                                 "target:", "arguments:", "working-directory:" and
//                                 "icon:" lines (the icon as path,index), as stored
//   sleep MS
// TEXT may use \r \n \t \\ \" \xHH; a TEXT wholly in double quotes loses them.
//
// Exit code: 0 when every command succeeded, 1 at the first failed expectation (with the
// windows of the program described), 2 for a script that cannot be run.
#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "core/win/windows.h"
#include "screenshot.h"
#include "script.h"
#include "win/link_reader.h"
#include "window_texts.h"

namespace ui_driver {
namespace {

constexpr long kDefaultTimeout = 60000;
constexpr DWORD kPollInterval = 25;
// How long a text may take to settle after the command that changes it.
constexpr long kTextSettleTime = 3000;
// The static control that holds a message box's text.
constexpr int kMessageTextId = 0xFFFF;

enum Outcome { Passed = 0, Failed = 1, ScriptError = 2 };

class Driver {
 public:
  ~Driver() {
    if (process_ != nullptr) CloseHandle(process_);
  }

  Outcome run(const Command& command);

  // A program still running when the script ends (or fails) is ended, so that no window
  // of it outlives the test.
  void end_program() {
    if (process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
      fprintf(stderr, "note: the program is still running; ending it\n");
      TerminateProcess(process_, 255);
      WaitForSingleObject(process_, 5000);
    }
  }

 private:
  Outcome start(const Command& command);
  Outcome wait_window(const Command& command, bool message_box);
  Outcome wait_close(const Command& command);
  Outcome expect_text(const Command& command, bool whole);
  Outcome print_text(const Command& command);
  Outcome print_list(const Command& command);
  Outcome select(const Command& command);
  Outcome type(const Command& command);
  Outcome click(const Command& command);
  Outcome screenshot(const Command& command);
  Outcome wait_exit(const Command& command);

  // The failure line, then what the program shows.
  Outcome fail(const Command& command, const std::string& what) {
    fprintf(stderr, "FAILED line %d: %s %s\n  %s\n", command.line, command.name.c_str(), command.rest.c_str(),
            what.c_str());
    if (current_ != nullptr && IsWindow(current_)) {
      fprintf(stderr, "current window:\n%s", describe_window(current_).c_str());
    }
    if (process_ != nullptr) {
      DWORD code = 0;
      if (GetExitCodeProcess(process_, &code) && code != STILL_ACTIVE) {
        fprintf(stderr, "the program has ended with exit code %lu\n", code);
      } else {
        fprintf(stderr, "windows of the program:\n%s", describe_windows(process_id_).c_str());
      }
    }
    return Failed;
  }

  Outcome script_error(const Command& command, const std::string& what) {
    fprintf(stderr, "script error, line %d: %s %s\n  %s\n", command.line, command.name.c_str(),
            command.rest.c_str(), what.c_str());
    return ScriptError;
  }

  bool need_process(const Command& command, Outcome& outcome) {
    if (process_ != nullptr) return true;
    outcome = script_error(command, "no program started");
    return false;
  }

  bool need_window(const Command& command, Outcome& outcome) {
    if (current_ == nullptr) {
      outcome = script_error(command, "no current window (wait-window first)");
      return false;
    }
    if (!IsWindow(current_)) {
      outcome = fail(command, "the current window has closed");
      return false;
    }
    return true;
  }

  // The control `word` names in the current window: a number, or "window" for the window.
  bool find_control(const Command& command, const std::string& word, HWND& control, Outcome& outcome) {
    if (!need_window(command, outcome)) return false;
    if (word == "window") {
      control = current_;
      return true;
    }
    long id = 0;
    if (!parse_number(word, id)) {
      outcome = script_error(command, "\"" + word + "\" is neither a control id nor \"window\"");
      return false;
    }
    std::vector<HWND> controls = controls_with_id(current_, static_cast<int>(id));
    if (controls.empty()) {
      outcome = fail(command, "the current window has no control " + word);
      return false;
    }
    control = controls.front();
    return true;
  }

  bool program_ended(DWORD& code) {
    return GetExitCodeProcess(process_, &code) && code != STILL_ACTIVE;
  }

  HANDLE process_ = nullptr;
  DWORD process_id_ = 0;
  HWND current_ = nullptr;
};

long timeout_word(const Command& command, size_t index) {
  long value = kDefaultTimeout;
  if (command.words.size() > index) parse_number(command.words[index], value);
  return value;
}

Outcome Driver::run(const Command& command) {
  const std::string& name = command.name;
  if (name == "start") return start(command);
  if (name == "wait-window") return wait_window(command, false);
  if (name == "wait-message-box") return wait_window(command, true);
  if (name == "wait-close") return wait_close(command);
  if (name == "expect-text") return expect_text(command, true);
  if (name == "expect-prefix") return expect_text(command, false);
  if (name == "text") return print_text(command);
  if (name == "list") return print_list(command);
  if (name == "select") return select(command);
  if (name == "type") return type(command);
  if (name == "click") return click(command);
  if (name == "screenshot") return screenshot(command);
  if (name == "wait-exit") return wait_exit(command);
  if (name == "windows") {
    Outcome outcome = Passed;
    if (!need_process(command, outcome)) return outcome;
    printf("%s", describe_windows(process_id_).c_str());
    return Passed;
  }
  if (name == "copy") {
    if (command.words.size() != 2) return script_error(command, "usage: copy FROM TO");
    if (!CopyFileA(command.words[0].c_str(), command.words[1].c_str(), FALSE)) {
      return fail(command, "cannot copy (error " + std::to_string(GetLastError()) + ")");
    }
    return Passed;
  }
  if (name == "hold") {
    if (command.rest.empty()) return script_error(command, "usage: hold FILE");
    HANDLE file = CreateFileA(command.rest.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      return fail(command, "cannot open " + command.rest + " (error " + std::to_string(GetLastError()) + ")");
    }
    // Released when the driver's process ends.
    return Passed;
  }
  if (name == "link") {
    std::string path = command.rest;
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
    if (path.empty()) return script_error(command, "usage: link FILE.lnk");
    test_support::LinkFields fields;
    if (!test_support::read_link(path, fields)) return fail(command, "not a shortcut that loads: " + path);
    printf("target: %s\narguments: %s\nworking-directory: %s\nicon: %s,%d\n", fields.target.c_str(),
           fields.arguments.c_str(), fields.working_directory.c_str(), fields.icon.c_str(), fields.icon_index);
    return Passed;
  }
  if (name == "sleep") {
    long ms = 0;
    if (command.words.size() != 1 || !parse_number(command.words[0], ms) || ms < 0) {
      return script_error(command, "usage: sleep MS");
    }
    Sleep(static_cast<DWORD>(ms));
    return Passed;
  }
  return script_error(command, "unknown command");
}

Outcome Driver::start(const Command& command) {
  if (command.words.empty()) return script_error(command, "usage: start EXE [ARGS...]");
  if (process_ != nullptr) return script_error(command, "a program is already started");
  // The program's name quoted, its arguments exactly as the script writes them.
  const std::string& rest = command.rest;
  size_t end = 0;
  if (!rest.empty() && rest[0] == '"') {
    end = rest.find('"', 1);
    end = end == std::string::npos ? rest.size() : end + 1;
  } else {
    while (end < rest.size() && rest[end] != ' ' && rest[end] != '\t') ++end;
  }
  std::string line = "\"" + command.words[0] + "\"" + rest.substr(end);
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(command.words[0].c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return fail(command, "cannot start " + command.words[0] + " (error " + std::to_string(GetLastError()) + ")");
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  process_id_ = info.dwProcessId;
  return Passed;
}

Outcome Driver::wait_window(const Command& command, bool message_box) {
  Outcome outcome = Passed;
  if (!need_process(command, outcome)) return outcome;
  long timeout = kDefaultTimeout;
  std::string pattern = pattern_and_number(command.rest, timeout);
  if (pattern.empty() && !message_box) return script_error(command, "usage: wait-window PATTERN [TIMEOUT]");
  std::string wanted = std::string(message_box ? "a message box" : "a window") + " matching \"" + pattern + "\"";
  DWORD started = GetTickCount();
  for (;;) {
    std::vector<HWND> windows = visible_windows(process_id_);
    if (message_box) {
      std::vector<HWND> boxes;
      for (HWND window : windows) {
        if (!controls_with_id(window, kMessageTextId).empty()) boxes.push_back(window);
      }
      windows = boxes;
    }
    HWND window = find_window(windows, pattern);
    if (window != nullptr) {
      current_ = window;
      return Passed;
    }
    DWORD code = 0;
    if (program_ended(code)) {
      current_ = nullptr;
      return fail(command, "expected " + wanted + "; the program ended with exit code " + std::to_string(code) +
                               " first");
    }
    if (static_cast<long>(GetTickCount() - started) >= timeout) {
      current_ = nullptr;
      return fail(command, "expected " + wanted + " within " + std::to_string(timeout) + " ms; there was none");
    }
    Sleep(kPollInterval);
  }
}

Outcome Driver::wait_close(const Command& command) {
  Outcome outcome = Passed;
  if (current_ == nullptr) return script_error(command, "no current window");
  long timeout = timeout_word(command, 0);
  DWORD started = GetTickCount();
  while (IsWindow(current_) && IsWindowVisible(current_)) {
    if (static_cast<long>(GetTickCount() - started) >= timeout) {
      return fail(command, "expected the current window to close within " + std::to_string(timeout) + " ms");
    }
    Sleep(kPollInterval);
  }
  current_ = nullptr;
  return outcome;
}

Outcome Driver::expect_text(const Command& command, bool whole) {
  Outcome outcome = Passed;
  if (command.words.size() < 1) return script_error(command, "usage: " + command.name + " ID|window TEXT");
  std::string expected = unescape(text_after_first_word(command.rest));
  HWND control = nullptr;
  if (!find_control(command, command.words[0], control, outcome)) return outcome;
  // Texts change in the other process's own time; give them a moment to settle.
  DWORD started = GetTickCount();
  std::string actual;
  for (;;) {
    actual = window_title(control);
    if (whole ? actual == expected : actual.compare(0, expected.size(), expected) == 0) return Passed;
    if (!IsWindow(control) || static_cast<long>(GetTickCount() - started) >= kTextSettleTime) break;
    Sleep(kPollInterval);
  }
  return fail(command, std::string(whole ? "expected" : "expected a text beginning") + " \"" + escape(expected) +
                           "\"\n  found    \"" + escape(actual) + "\"");
}

Outcome Driver::print_text(const Command& command) {
  Outcome outcome = Passed;
  HWND control = nullptr;
  if (command.words.size() != 1) return script_error(command, "usage: text ID|window");
  if (!find_control(command, command.words[0], control, outcome)) return outcome;
  printf("%s\n", escape(window_title(control)).c_str());
  return Passed;
}

Outcome Driver::print_list(const Command& command) {
  Outcome outcome = Passed;
  HWND list = nullptr;
  if (command.words.size() != 1) return script_error(command, "usage: list ID");
  if (!find_control(command, command.words[0], list, outcome)) return outcome;
  LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
  std::vector<std::string> entries = list_entries(list);
  for (size_t i = 0; i < entries.size(); ++i) {
    printf("%s%s\n", static_cast<LRESULT>(i) == selected ? "*" : " ", escape(entries[i]).c_str());
  }
  return Passed;
}

Outcome Driver::select(const Command& command) {
  Outcome outcome = Passed;
  HWND list = nullptr;
  long index = 0;
  if (command.words.size() != 2 || !parse_number(command.words[1], index)) {
    return script_error(command, "usage: select ID INDEX");
  }
  if (!find_control(command, command.words[0], list, outcome)) return outcome;
  DWORD_PTR result = 0;
  SendMessageTimeoutA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_NORMAL, 5000, &result);
  if (static_cast<LRESULT>(result) != index) {
    return fail(command, "the list has no entry " + std::to_string(index));
  }
  // A program sets the selection itself without notification; the user's click notifies.
  WPARAM notification = MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE);
  SendMessageTimeoutA(GetParent(list), WM_COMMAND, notification, reinterpret_cast<LPARAM>(list), SMTO_NORMAL, 5000,
                      &result);
  return Passed;
}

Outcome Driver::type(const Command& command) {
  Outcome outcome = Passed;
  HWND control = nullptr;
  if (command.words.empty()) return script_error(command, "usage: type ID TEXT");
  if (!find_control(command, command.words[0], control, outcome)) return outcome;
  std::string text = unescape(text_after_first_word(command.rest));
  DWORD_PTR result = 0;
  SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 5000, &result);
  std::string now = window_title(control);
  if (now != text) return fail(command, "typed \"" + escape(text) + "\"; the control holds \"" + escape(now) + "\"");
  return Passed;
}

Outcome Driver::click(const Command& command) {
  Outcome outcome = Passed;
  HWND control = nullptr;
  if (command.words.size() != 1) return script_error(command, "usage: click ID");
  if (!find_control(command, command.words[0], control, outcome)) return outcome;
  if (control == current_) return script_error(command, "click needs a control id");
  if (!IsWindowEnabled(control)) return fail(command, "the control is disabled");
  DWORD_PTR result = 0;
  // A click may open a modal loop (a message box, a folder browser) inside the program's
  // handler, which then answers only when that loop ends: do not wait for it.
  if (class_name(control) == "Button") {
    SendMessageTimeoutA(control, BM_CLICK, 0, 0, SMTO_NORMAL, 2000, &result);
  } else {
    WPARAM notification = MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED);
    PostMessageA(GetParent(control), WM_COMMAND, notification, reinterpret_cast<LPARAM>(control));
  }
  return Passed;
}

Outcome Driver::screenshot(const Command& command) {
  Outcome outcome = Passed;
  if (command.words.empty() || command.words.size() > 2 ||
      (command.words.size() == 2 && command.words[1] != "screen")) {
    return script_error(command, "usage: screenshot FILE.bmp [screen]");
  }
  HWND window = nullptr;
  if (command.words.size() == 1 && current_ != nullptr) {
    if (!need_window(command, outcome)) return outcome;
    window = current_;
  }
  // Let the program finish painting what the last command changed.
  Sleep(300);
  std::string error = save_screenshot(window, command.words[0]);
  if (!error.empty()) return fail(command, "screenshot: " + error);
  return Passed;
}

Outcome Driver::wait_exit(const Command& command) {
  Outcome outcome = Passed;
  if (!need_process(command, outcome)) return outcome;
  long expected = 0;
  if (command.words.empty() || !parse_number(command.words[0], expected)) {
    return script_error(command, "usage: wait-exit CODE [TIMEOUT]");
  }
  long timeout = timeout_word(command, 1);
  // Every window that shows while we wait is reported, so a test can tell what a run
  // showed on its own (an automatic installation, say).
  std::vector<std::string> seen;
  DWORD started = GetTickCount();
  DWORD waited = WAIT_TIMEOUT;
  while (waited == WAIT_TIMEOUT && static_cast<long>(GetTickCount() - started) < timeout) {
    for (HWND window : visible_windows(process_id_)) {
      std::string line = "seen window \"" + escape(window_title(window)) + "\" class " + class_name(window);
      if (std::find(seen.begin(), seen.end(), line) != seen.end()) continue;
      seen.push_back(line);
      printf("%s\n", line.c_str());
    }
    waited = WaitForSingleObject(process_, kPollInterval);
  }
  if (waited != WAIT_OBJECT_0) {
    current_ = nullptr;
    return fail(command, "expected the program to end with exit code " + std::to_string(expected) + " within " +
                             std::to_string(timeout) + " ms; it is still running");
  }
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  current_ = nullptr;
  if (code != static_cast<DWORD>(expected)) {
    return fail(command, "expected exit code " + std::to_string(expected) + "; the program ended with " +
                             std::to_string(code));
  }
  return Passed;
}

}  // namespace
}  // namespace ui_driver

int main(int argc, char** argv) {
  using namespace ui_driver;
  // Plain line feeds, and every line out at once: the test scripts read the output as it comes.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  setvbuf(stdout, nullptr, _IONBF, 0);
  setvbuf(stderr, nullptr, _IONBF, 0);
  if (argc > 2) {
    fprintf(stderr, "usage: qvin-ui-driver [SCRIPT]\n");
    return ScriptError;
  }
  std::ifstream file;
  std::istream* input = &std::cin;
  if (argc == 2 && std::string(argv[1]) != "-") {
    file.open(argv[1], std::ios::binary);
    if (!file) {
      fprintf(stderr, "qvin-ui-driver: cannot read %s\n", argv[1]);
      return ScriptError;
    }
    input = &file;
  }

  CoInitialize(nullptr);  // the shell's link object, for `link`
  Driver driver;
  std::string line;
  int number = 0;
  Outcome outcome = Passed;
  while (outcome == Passed && std::getline(*input, line)) {
    Command command;
    if (parse_command(line, ++number, command)) outcome = driver.run(command);
  }
  driver.end_program();
  return outcome;
}
