// The restart's question and the shutdown privilege through the run-time bound token
// functions (the restart itself is never asked for here).
#include "ui/restart.h"

#include <gtest/gtest.h>

#include "archive/settings.h"
#include "core/win/optional_functions.h"
#include "core/win/windows.h"
#include "ui/run_state.h"
#include "win/dialog_test_support.h"

namespace ui {
namespace {

using test_support::ModalScript;

// Whether the process token has the privilege enabled; false when it cannot tell.
bool privilege_enabled(const char* name) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  PRIVILEGE_SET set = {};
  set.PrivilegeCount = 1;
  BOOL enabled = FALSE;
  bool known = LookupPrivilegeValueA(nullptr, name, &set.Privilege[0].Luid) &&
               PrivilegeCheck(token, &set, &enabled);
  CloseHandle(token);
  return known && enabled;
}

TEST(Restart, Privilege) {
  set_privilege("SeShutdownPrivilege", true);
  EXPECT_TRUE(privilege_enabled("SeShutdownPrivilege"));
  set_privilege("SeShutdownPrivilege", false);
  EXPECT_FALSE(privilege_enabled("SeShutdownPrivilege"));
  // Without the adjusting function nothing changes, and nothing fails.
  core::force_absent(core::Optional::AdjustTokenPrivileges);
  set_privilege("SeShutdownPrivilege", true);
  EXPECT_FALSE(privilege_enabled("SeShutdownPrivilege"));
  core::force_absent(core::Optional::AdjustTokenPrivileges, false);
  set_privilege("NoSuchPrivilege", true);
}

TEST(Restart, Choice) {
  test_support::reset_run_state();
  test_support::OwnerWindow owner;
  RunState& state = run_state();
  EXPECT_FALSE(restart_chosen());  // not requested

  state.settings.flags = archive::flag::OfferRestart;
  state.automatic = true;
  EXPECT_TRUE(restart_chosen());  // automatic: no question

  struct Case {
    bool automatic;
    int answer;
    bool restart;
  };
  const Case cases[] = {{false, IDYES, true}, {false, IDNO, false}, {true, IDNO, false}};
  state.settings.flags2 = archive::flag2::RestartQuestionInAutomaticMode;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.automatic << " " << c.answer);
    state.automatic = c.automatic;
    int answer = c.answer;
    ModalScript script({{0, [answer](HWND box) { ModalScript::click(box, answer); }}});
    EXPECT_EQ(restart_chosen(), c.restart);
    ASSERT_EQ(script.seen().size(), 1u);
    EXPECT_EQ(script.seen()[0].text, "Restart now?");
    EXPECT_EQ(script.seen()[0].caption, "Warning");
  }
}

}  // namespace
}  // namespace ui
