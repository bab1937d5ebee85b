// A product's registration in the system's list of installed programs, by its key name.
#pragma once

#include "core/win/registry.h"

namespace ui {

// Opens the product's uninstall key below HKEY_LOCAL_MACHINE, never creating it unless
// `create`; true when it is open. The key then answers "InstallLocation",
// "DisplayVersion" and the like.
bool open_uninstall_registration(core::RegistryKey& key, const char* name, bool create = false);

}  // namespace ui
