// What the driver asks of the installation engine once the archive data is loaded: the
// installation phases, the batches, the process launch, the installation log and the
// completion message.
#pragma once

#include "archive/archive_data.h"
#include "archive/archive_header.h"
#include "core/string.h"
#include "install/install_context.h"

namespace install {

// The phases in their order, over the loaded data (the file table starts at its first
// byte): uninstall directory, deletion rules, files (45..85 %), shared counts and
// registrations (87 %), shortcuts (90 %), registry entries, associations and uninstall
// registration (95 %), the uninstall data (100 %).
void run_installation_phases(const archive::ArchiveData& data, const archive::ArchiveHeader& header,
                             const InstallContext& context);

// Runs batch `commands` in `directory`, hidden or in a console window, and waits for it.
void run_batch(const core::String& commands, const core::String& directory, bool hidden);

// Writes "Install.LOG" and shows the completion message, or the summary of the errors.
void write_log_and_report(const InstallContext& context);

// Starts `command_line` without waiting for it.
void start_program(const core::String& command_line);

}  // namespace install
