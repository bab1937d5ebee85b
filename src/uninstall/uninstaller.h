// What the driver asks of the uninstaller: remove a product by its registered name, and
// whether a product is installed.
#pragma once

#include "core/string.h"

namespace uninstall {

// Removes the product registered under `name` in the system's list of installed programs,
// as its uninstall key and "Uninstall.DAT" describe it. True when nothing failed: the
// uninstall key is gone and the driver may start the self-removal. Whatever could not be
// removed is reported, written back to "Uninstall.DAT" and left for another run, with the
// key. A declined confirmation ends the program through the exit routine.
bool uninstall_product(const core::String& name);

// The product counts as installed when its uninstall key opens and names an uninstaller
// ("UninstallString" or "QuietUninstallString"). When the key opens and install_dir is
// given, it receives "InstallLocation" if installed and is cleared otherwise; when the key
// does not open, it is left as it was.
bool is_product_installed(const core::String& name, core::String* install_dir);

}  // namespace uninstall
