// What an installation leaves for its removal: the uninstaller program, the product's
// uninstall key with every value the uninstaller reads, "Uninstall.DAT", and the
// background picture the uninstaller shows.
#pragma once

#include "core/string.h"
#include "install/install_context.h"

namespace install {

// The uninstaller program's path: the uninstall directory joined with its file name.
core::String uninstaller_path(const InstallContext& context);

// A file of the uninstall directory ("Uninstall.DAT", "Install.LOG"): the installation
// directory joined with the uninstall subdirectory joined with `name`.
core::String uninstall_file_path(const InstallContext& context, const char* name);

// With the background picture setting: the picture's file saved as "Installer
// Background.BMP" in the uninstall directory and recorded for removal; a failed write is a
// paragraph of the error report.
void save_background_picture(const InstallContext& context);

// Writes the uninstaller program (this program without its archive) and the uninstall key
// with every value of the table, `shared_files` as "SharedFiles". The key is read back:
// when "UninstallString" does not hold the command written, or the key cannot be opened,
// the error report says that uninstallation will not work.
void register_uninstall(const InstallContext& context, const core::String& shared_files);

// Writes "Uninstall.DAT": the removal list, the texts the uninstaller shows in the chosen
// language, and `association_records` (the associations applied, one record a line).
// False (with a paragraph of the error report) when the file cannot be written.
bool write_uninstall_data(const InstallContext& context, const core::String& association_records);

}  // namespace install
