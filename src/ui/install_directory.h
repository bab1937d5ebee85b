// Settling the installation directory after the language choice: the previous
// installation, the start prompt, the licence and readme texts, the question about an
// existing installation, the directory dialog with its checks, and the directory's
// creation.
#pragma once

#include "core/string.h"

namespace ui {

// Runs the whole sequence on run_state(). Returns with install_directory set and existing
// (reinstall and previous_shared_files set along the way); a cancel, a "no", a refused
// reinstallation or a directory that cannot be created ends the program instead.
void settle_install_directory();

// One round of checks on a directory the user typed (trimmed in place): its form, network
// paths where refused, the drive, its length, the program files folder, the disk space,
// the optional confirmation, then its creation. True when it exists now; false after the
// message that says why (the dialog is then shown again).
bool accept_install_directory(core::String& directory);

}  // namespace ui
