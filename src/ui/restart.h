// Restarting the system at the end of an installation: the question, the shutdown
// privilege and the exit call.
#pragma once

#include <stdint.h>

#include "ui/restart_rules.h"

namespace ui {

// Enables the named privilege of the process token, or with enable false disables every
// privilege of it. Silent: without the token functions (bound at run time), or when the
// token or the privilege cannot be had, nothing happens.
void set_privilege(const char* name, bool enable);

// Enables the shutdown privilege, asks the system to end the session in the way of
// `kind` (exit_kind::) with exit_windows_flags, and drops the privileges again. True
// when the system accepted.
bool exit_windows(int32_t kind, bool force);

// Whether the installation ends in a restart: never without the restart request; in
// automatic mode at once unless the settings ask there too; otherwise the question
// (localised text 37, caption 20, yes and no) owned by the background window, yes meaning
// restart.
bool restart_chosen();

}  // namespace ui
