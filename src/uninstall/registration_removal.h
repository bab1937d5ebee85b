// Undoing what the installation registered in the system: its fonts, its shared-file
// counts (with the COM servers and type libraries whose last user it was) and its own
// registry keys.
#pragma once

#include "core/string.h"
#include "core/win/registry.h"
#include "uninstall/uninstall_run.h"

namespace uninstall {

// The fonts of "ProductFonts": each unregistered, its resource removed and its file
// deleted (asking first when the settings say so, unless automatic); then the value is
// deleted from the uninstall key and, when a font went, running programs are told.
void remove_fonts(core::RegistryKey& uninstall_key, UninstallRun& run);

// Lowers the count of every file of "SharedFiles". A file whose count of at least 1
// reached 0, and that is not permanent, is unregistered as its mark says and deleted
// (asking first when the settings say so, unless automatic). A file without a count was
// never ours to count and stays. When the SharedDLLs key cannot be opened, the error
// report says so and nothing is touched.
void release_shared_files(const core::String& shared_files, UninstallRun& run);

// Deletes the product's key below HKEY_LOCAL_MACHINE\Software and then below
// HKEY_CURRENT_USER\Software with its tree, and each parent that became empty, at most 20
// keys in all for each root.
void remove_product_keys(const core::String& product_key);

}  // namespace uninstall
