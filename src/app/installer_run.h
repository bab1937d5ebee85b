// The installer's run from start-up to the exit routine.
#pragma once

#include "core/win/windows.h"

namespace app {

// Runs the program with the arguments of its command line (without its own name). Never
// returns: every path ends in the exit routine, with exit code 1.
[[noreturn]] void run_installer(HINSTANCE instance, const char* arguments);

}  // namespace app
