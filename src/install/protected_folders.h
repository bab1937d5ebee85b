// The protected folders of this machine: drive roots, the Windows and system directories,
// Program Files and Common Files (32- and 64-bit views), the temporary directory, every
// special folder of the current user and of all users, the user profile, and their
// ancestors. Deletion rules, the uninstaller's clean-up and self-removal all ask it.
#pragma once

#include "core/string.h"
#include "core/win/environment.h"
#include "install/protected_folder_rules.h"

namespace install {

// Gathers the folders of the machine into `folders`, each also in its 8.3 form.
void add_machine_folders(ProtectedFolderSet& folders, const core::ProcessEnvironment& env);

// The machine's set, gathered on the first call and kept for the rest of the run.
const ProtectedFolderSet& machine_protected_folders(const core::ProcessEnvironment& env);

// ProtectedFolderSet::is_protected for the path as written and for its 8.3 form, so a
// short name ("C:\PROGRA~1") reaches the same folder.
bool is_protected_path(const ProtectedFolderSet& folders, const core::String& path);
// ProtectedFolderSet::is_protected_folder in the same way.
bool is_protected_folder_path(const ProtectedFolderSet& folders, const core::String& path);

}  // namespace install
