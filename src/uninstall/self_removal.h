// The batch that removes the uninstaller once its process has ended, then the emptied
// uninstall and installation directories, and finally itself.
#pragma once

#include <stdint.h>

#include "core/string.h"
#include "core/win/environment.h"

namespace uninstall {

// Results of start_self_removal.
enum class SelfRemoval : int32_t {
  Started = 0,
  NotWritten = 1,  // neither "c:\delunins.bat" nor the one in the temporary directory
  NotStarted = 2,  // the command interpreter did not start
};

// Whether the running program is the installed uninstaller: its file lies in the
// uninstall directory. Only then does the batch delete it (a setup program that the user
// started with /u is the user's own file).
bool is_installed_uninstaller(const core::ProcessEnvironment& env, const core::String& uninstall_dir);

// Writes the batch as "c:\delunins.bat", or in the temporary directory when the root of C:
// cannot be written, and starts it minimised in a console of its own. Uses the
// installation and uninstall directories of the run state. The directories are removed
// only when empty and never when protected.
SelfRemoval start_self_removal();

}  // namespace uninstall
