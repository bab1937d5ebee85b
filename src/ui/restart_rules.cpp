// The exit flags and the restart decision.
#include "ui/restart_rules.h"

namespace ui {
namespace {

// ExitWindowsEx flag bits, spelled out so that this file needs no system header.
constexpr uint32_t kLogOff = 0x00;
constexpr uint32_t kShutDown = 0x01;
constexpr uint32_t kReboot = 0x02;
constexpr uint32_t kForce = 0x04;
constexpr uint32_t kPowerOff = 0x08;
constexpr uint32_t kForceIfHung = 0x10;

}  // namespace

uint32_t exit_windows_flags(int32_t kind, bool force) {
  uint32_t action = kShutDown;
  if (kind == exit_kind::PowerOff) action = kPowerOff;
  if (kind == exit_kind::Restart) action = kReboot;
  if (kind == exit_kind::LogOff) action = kLogOff;
  return action | (force ? kForce : kForceIfHung);
}

RestartChoice restart_choice(bool restart_requested, bool automatic, bool ask_in_automatic_mode) {
  if (!restart_requested) return RestartChoice::None;
  if (automatic && !ask_in_automatic_mode) return RestartChoice::Restart;
  return RestartChoice::Ask;
}

}  // namespace ui
