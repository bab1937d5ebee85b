// Waiting between attempts (file retries), with a hook so tests can count the waits.
#pragma once

#include <stdint.h>

namespace core {

// Waits the given time (Sleep), or hands it to the hook when one is installed.
void pause(uint32_t milliseconds);

// A replacement for the wait, for tests: it receives each requested time instead.
using PauseHook = void (*)(uint32_t milliseconds);
// Installs hook (null restores the real wait); returns the previous hook.
PauseHook set_pause_hook(PauseHook hook);

}  // namespace core
