// The installation directory on the PATH of the boot drive's "autoexec.bat": added by the
// installer, removed by the uninstaller.
#pragma once

#include "core/string.h"

namespace install {

// Adds (or removes) the line "PATH=%PATH%;<directory in 8.3 form>" in the boot drive's
// "autoexec.bat". An empty text on success, else the message for the error report.
core::String update_autoexec_path(bool add, const core::String& install_directory);

// The same on the file at `path`.
core::String update_autoexec_file(const core::String& path, bool add, const core::String& install_directory);

}  // namespace install
