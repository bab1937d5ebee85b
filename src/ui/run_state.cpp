// The run's one state record and the questions every part asks of it.
#include "ui/run_state.h"

namespace ui {

RunState& run_state() {
  static RunState state;
  return state;
}

HWND owner_window() {
  RunState& state = run_state();
  if (state.progress_dialog != nullptr) return state.progress_dialog;
  return state.background_window;
}

const core::String& localised(int32_t id) {
  static const core::String empty;
  RunState& state = run_state();
  if (!state.languages_loaded) return empty;
  return state.settings.languages.localised(id, state.settings.product_name, state.environment.windows_directory);
}

bool has_flag(uint32_t bit) { return run_state().settings_read && (run_state().settings.flags & bit) != 0; }
bool has_flag2(uint32_t bit) { return run_state().settings_read && (run_state().settings.flags2 & bit) != 0; }

}  // namespace ui
