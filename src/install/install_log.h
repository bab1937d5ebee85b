// The end of an installation's record: "Install.LOG" and the closing message.
#pragma once

#include "install/install_context.h"

namespace install {

// Shows the closing message (with show_summary): the completion message after a run
// without errors, or the question whether to view the log after one with errors; appends
// the run's block to "Install.LOG" when the settings always keep a log or there were
// errors; opens the log when the user asked to see it. The run's records are not changed.
// False when a block was due and could not be appended.
bool write_install_log(const InstallContext& context, bool reinstall, bool show_summary);

}  // namespace install
