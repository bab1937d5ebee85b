// What the driver asks of the uninstaller: remove a product by its name, then itself.
#pragma once

#include "core/string.h"

namespace uninstall {

// Removes the product registered under `name`; true when it was removed.
bool run_uninstaller(const core::String& name);

// Writes and starts the batch that deletes the uninstaller once it has ended.
void create_self_removal_batch();

}  // namespace uninstall
