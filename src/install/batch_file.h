// The installation's batches: "QVINBAT.BAT" written in the installation directory with the
// directory variables as environment variables, run through the command interpreter,
// waited for and deleted.
#pragma once

#include "core/array.h"
#include "core/string.h"
#include "core/win/directory_variables.h"
#include "core/win/environment.h"
#include "install/batch_rules.h"

namespace install {

// The variables a batch receives, in their order; InstallDir and InstallDrive only when
// the installation directory is known.
core::Vector<BatchVariable> batch_variables(const core::ProcessEnvironment& env,
                                            const core::InstallationDirectories& dirs);

// Writes and runs the batch, hidden or in a console window, waits for it (pumping window
// messages) and deletes it. A blank batch does nothing. True for a blank batch and when
// the interpreter ran; false when the file could not be written or nothing started.
bool run_batch_file(const core::String& commands, const core::String& directory, bool hidden, bool automatic,
                    const core::ProcessEnvironment& env, const core::InstallationDirectories& dirs);

}  // namespace install
