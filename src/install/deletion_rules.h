// The deletion rules of the settings: files of earlier versions removed before the file table.
#pragma once

#include "archive/deletion_rule.h"
#include "core/array.h"
#include "core/win/directory_variables.h"
#include "core/win/environment.h"
#include "install/protected_folder_rules.h"
#include "install/run_records.h"

namespace install {

// Deletes the files each rule names and whose condition holds; logs every deletion and
// failure in `records`. A rule with a bad date value ends the run as a damaged archive.
void apply_deletion_rules(const core::Array<archive::FileDeletion>& rules, const core::ProcessEnvironment& env,
                          const core::InstallationDirectories& dirs, RunRecords& records);

// One rule, with the protected folders given. A rule in which a directory variable stood
// for nothing, or with a pattern reaching a whole protected folder, deletes nothing and is
// logged. False (nothing deleted) when the rule's date value is not a valid date and a
// file was there to test against it.
bool apply_deletion_rule(const archive::FileDeletion& rule, const core::ProcessEnvironment& env,
                         const core::InstallationDirectories& dirs, const ProtectedFolderSet& protected_folders,
                         RunRecords& records);

}  // namespace install
