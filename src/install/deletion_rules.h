// The deletion rules of the settings: files of earlier versions removed before the file table.
#pragma once

#include "archive/deletion_rule.h"
#include "core/array.h"
#include "core/win/directory_variables.h"
#include "core/win/environment.h"
#include "install/run_records.h"

namespace install {

// Deletes the files each rule names and whose condition holds; logs every deletion and
// failure in `records`. A rule with a bad date value ends the run as a damaged archive.
void apply_deletion_rules(const core::Array<archive::FileDeletion>& rules, const core::ProcessEnvironment& env,
                          const core::InstallationDirectories& dirs, RunRecords& records);

}  // namespace install
