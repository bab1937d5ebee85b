// Starting programs and waiting for them on the one GUI thread.
#include "install/process_runner.h"

#include "core/win/windows.h"

#include <shellapi.h>

#include "install/engine.h"
#include "ui/message_pump.h"
#include "ui/reporting.h"

namespace install {

int show_state_for(uint32_t options) {
  if ((options & run_option::Maximised) != 0) return SW_SHOWMAXIMIZED;
  if ((options & run_option::Minimised) != 0) return SW_MINIMIZE;
  if ((options & run_option::Hidden) != 0) return SW_HIDE;
  return -1;
}

uint32_t priority_class_for(uint32_t options) {
  if ((options & run_option::HighPriority) != 0) return HIGH_PRIORITY_CLASS;
  if ((options & run_option::IdlePriority) != 0) return IDLE_PRIORITY_CLASS;
  return NORMAL_PRIORITY_CLASS;
}

namespace {

// Waits for the process, keeping the background window and the progress dialog painted.
void wait_pumping(HANDLE process) {
  while (WaitForSingleObject(process, 1) == WAIT_TIMEOUT) ui::pump_messages();
}

}  // namespace

uint32_t run_process(const core::String& command_line, uint32_t options, const char* working_directory,
                     const char* program) {
  if (command_line.is_empty()) return kStartFailed;
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  int show = show_state_for(options);
  if (show >= 0) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
  }
  // CreateProcessA may write into the command line.
  core::String line = command_line;
  if (working_directory != nullptr && *working_directory == 0) working_directory = nullptr;
  if (program != nullptr && *program == 0) program = nullptr;
  PROCESS_INFORMATION process = {};
  DWORD creation = priority_class_for(options) | ((options & run_option::NewConsole) != 0 ? CREATE_NEW_CONSOLE : 0);
  if (!CreateProcessA(program, line.data(), nullptr, nullptr, FALSE, creation, nullptr, working_directory, &startup,
                      &process)) {
    if ((options & run_option::ShowFailure) != 0) {
      core::String text = core::format_string("Unable to create process:\r\n%s", command_line.text());
      ui::message_box(text.text(), "Error", MB_ICONERROR);
    }
    return kStartFailed;
  }
  uint32_t result = kNoExitCode;
  if ((options & run_option::Wait) != 0) {
    if ((options & run_option::PumpMessages) != 0) {
      wait_pumping(process.hProcess);
    } else {
      WaitForSingleObject(process.hProcess, INFINITE);
    }
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code)) result = code;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return result;
}

void start_program(const core::String& command_line) { run_process(command_line, 0, nullptr); }

bool shell_open(const char* file, const char* parameters, const char* directory, const char* verb) {
  if (file == nullptr || *file == 0) return false;
  HINSTANCE result = ShellExecuteA(nullptr, verb, file, parameters, directory, SW_SHOW);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace install
