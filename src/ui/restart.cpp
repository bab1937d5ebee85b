// The restart: privilege, exit call and the question.
#include "ui/restart.h"

#include "archive/language_tables.h"
#include "archive/settings.h"
#include "core/win/optional_functions.h"
#include "core/win/windows.h"
#include "ui/run_state.h"

namespace ui {

void set_privilege(const char* name, bool enable) {
  auto open_token = core::optional_function<core::Optional::OpenProcessToken>();
  auto look_up = core::optional_function<core::Optional::LookupPrivilegeValueA>();
  auto adjust = core::optional_function<core::Optional::AdjustTokenPrivileges>();
  if (open_token == nullptr || look_up == nullptr || adjust == nullptr) return;
  HANDLE token = nullptr;
  if (!open_token(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
  TOKEN_PRIVILEGES privileges = {};
  if (look_up(nullptr, name, &privileges.Privileges[0].Luid)) {
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    adjust(token, enable ? FALSE : TRUE, &privileges, sizeof(privileges), nullptr, nullptr);
  }
  CloseHandle(token);
}

bool exit_windows(int32_t kind, bool force) {
  set_privilege("SeShutdownPrivilege", true);
  bool accepted = ExitWindowsEx(exit_windows_flags(kind, force), 0) != FALSE;
  set_privilege("SeShutdownPrivilege", false);
  return accepted;
}

bool restart_chosen() {
  RunState& state = run_state();
  switch (restart_choice(has_flag(archive::flag::OfferRestart), state.automatic,
                         has_flag2(archive::flag2::RestartQuestionInAutomaticMode))) {
    case RestartChoice::None:
      return false;
    case RestartChoice::Restart:
      return true;
    case RestartChoice::Ask:
      break;
  }
  int answer = MessageBoxA(state.background_window, localised(archive::text_id::RestartQuestion).text(),
                           localised(archive::text_id::WarningCaption).text(), MB_ICONQUESTION | MB_YESNO);
  return answer == IDYES;
}

}  // namespace ui
