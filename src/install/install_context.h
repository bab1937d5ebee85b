// What every installation phase works with: the settings, the machine, the installation's
// directories and the run's records. The driver makes one and passes it down.
#pragma once

#include "archive/settings.h"
#include "core/win/directory_variables.h"
#include "core/win/environment.h"
#include "install/run_records.h"

namespace install {

struct InstallContext {
  const archive::Settings& settings;
  const core::ProcessEnvironment& env;
  const core::InstallationDirectories& dirs;
  RunRecords& records;

  bool has_flag(uint32_t bit) const { return (settings.flags & bit) != 0; }
  bool has_flag2(uint32_t bit) const { return (settings.flags2 & bit) != 0; }
};

}  // namespace install
