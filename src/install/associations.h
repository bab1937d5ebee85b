// File associations: extension, file type, description, icon and a shell verb with its
// command, below HKEY_CLASSES_ROOT, each value overwritten first saved under the product's
// backup name so that the uninstaller can put it back.
#pragma once

#include "core/string.h"
#include "install/install_context.h"

namespace install {

// Applies every association of the settings that is meant for the chosen language, in
// order, and tells the shell that associations changed. Failures go to the error report
// and the run goes on. Returns the association records for "Uninstall.DAT", one for each
// association attempted (also when its command could not be written).
core::String apply_associations(const InstallContext& context);

}  // namespace install
