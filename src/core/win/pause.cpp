// Waiting between attempts, with a test hook.
#include "core/win/pause.h"

#include "core/win/windows.h"

namespace core {

namespace {
PauseHook pause_hook = nullptr;
}

void pause(uint32_t milliseconds) {
  if (pause_hook != nullptr) {
    pause_hook(milliseconds);
  } else {
    Sleep(milliseconds);
  }
}

PauseHook set_pause_hook(PauseHook hook) {
  PauseHook previous = pause_hook;
  pause_hook = hook;
  return previous;
}

}  // namespace core
