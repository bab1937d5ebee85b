// The exit flags of each kind and the restart decision at the end of an installation.
#include <gtest/gtest.h>

#include "ui/restart_rules.h"

namespace ui {
namespace {

TEST(RestartRules, ExitFlags) {
  struct Case {
    int32_t kind;
    uint32_t plain;
    uint32_t forced;
  };
  const Case cases[] = {
      {exit_kind::PowerOff, 0x18, 0x0C}, {exit_kind::Restart, 0x12, 0x06}, {exit_kind::LogOff, 0x10, 0x04},
      {exit_kind::ShutDown, 0x11, 0x05}, {7, 0x11, 0x05},                  {-1, 0x11, 0x05},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    EXPECT_EQ(exit_windows_flags(c.kind, false), c.plain);
    EXPECT_EQ(exit_windows_flags(c.kind, true), c.forced);
  }
}

TEST(RestartRules, Choice) {
  struct Case {
    bool requested;
    bool automatic;
    bool ask_in_automatic;
    RestartChoice choice;
  };
  const Case cases[] = {
      {false, false, false, RestartChoice::None},  {false, true, true, RestartChoice::None},
      {true, false, false, RestartChoice::Ask},    {true, false, true, RestartChoice::Ask},
      {true, true, false, RestartChoice::Restart}, {true, true, true, RestartChoice::Ask},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.requested << c.automatic << c.ask_in_automatic);
    EXPECT_EQ(restart_choice(c.requested, c.automatic, c.ask_in_automatic), c.choice);
  }
}

}  // namespace
}  // namespace ui
