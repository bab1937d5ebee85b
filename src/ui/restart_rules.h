// The restart's rules that need no machine: the flags each exit kind passes to the
// system, and whether the end of an installation restarts, asks or does neither.
#pragma once

#include <stdint.h>

namespace ui {

// Kinds of exit_windows.
namespace exit_kind {
inline constexpr int32_t PowerOff = 1;
inline constexpr int32_t Restart = 2;
inline constexpr int32_t LogOff = 3;
inline constexpr int32_t ShutDown = 0;  // and every other value
}  // namespace exit_kind

// The ExitWindowsEx flags of a kind: power off 0x18 / 0x0C, restart 0x12 / 0x06,
// log off 0x10 / 0x04, anything else shut down 0x11 / 0x05 (without / with force).
uint32_t exit_windows_flags(int32_t kind, bool force);

// What the end of an installation does about a restart.
enum class RestartChoice {
  None,     // no restart was requested
  Ask,      // ask the user; restart on yes
  Restart,  // restart without asking
};

// Without a restart request nothing; in automatic mode without the setting that asks
// there too, a restart at once; otherwise the question.
RestartChoice restart_choice(bool restart_requested, bool automatic, bool ask_in_automatic_mode);

}  // namespace ui
