// Starting programs: the process runner with its option bits, the launch of the program to
// run after installation, and opening a file through the shell.
#pragma once

#include <stdint.h>

#include "core/string.h"

namespace install {

// Bits of run_process's options.
namespace run_option {
inline constexpr uint32_t Wait = 0x1;          // wait for the end and return the exit code
inline constexpr uint32_t IdlePriority = 0x4;
inline constexpr uint32_t HighPriority = 0x8;  // wins over IdlePriority
inline constexpr uint32_t Hidden = 0x10;       // SW_HIDE
inline constexpr uint32_t Maximised = 0x20;    // SW_SHOWMAXIMIZED; the window options are
inline constexpr uint32_t Minimised = 0x40;    //   tested 0x20, 0x40, 0x10: the first set wins
inline constexpr uint32_t ShowFailure = 0x80;  // a failed start is shown in a message box
inline constexpr uint32_t PumpMessages = 0x100;  // while waiting, keep the windows alive
inline constexpr uint32_t NewConsole = 0x200;    // a console program gets a console of its own
}  // namespace run_option

// Results of run_process besides an exit code.
inline constexpr uint32_t kStartFailed = 0x80000000u;  // not started, or an empty command line
inline constexpr uint32_t kNoExitCode = 0x80000001u;   // started; not waited for, or no code

// The SW_ show state the window options ask for, or -1 for none.
int show_state_for(uint32_t options);
// The priority class the options ask for.
uint32_t priority_class_for(uint32_t options);

// Starts command_line in working_directory (null or empty: the current one) and returns
// the exit code or one of the results above. `program`, when given, is passed to the
// system as the program file, so a command line whose first word is quoted need not be
// parsed by the system to find it.
uint32_t run_process(const core::String& command_line, uint32_t options, const char* working_directory,
                     const char* program = nullptr);

// ShellExecuteA with no owner and SW_SHOW; verb null for the default one. False for an
// empty file name or when the shell fails.
bool shell_open(const char* file, const char* parameters, const char* directory, const char* verb);

}  // namespace install
