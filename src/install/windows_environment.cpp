// The machine as the settings reader sees it, on Windows.
#include "install/windows_environment.h"

#include "core/win/directories.h"
#include "core/win/system_folders.h"

namespace install {

core::String WindowsEnvironment::windows_directory() { return env_.windows_directory; }

core::String WindowsEnvironment::program_files_directory() {
  return core::special_folder(core::SpecialFolder::ProgramFiles, env_.windows_directory.text());
}

core::String WindowsEnvironment::common_files_directory() {
  return core::special_folder(core::SpecialFolder::CommonFiles, env_.windows_directory.text());
}

void WindowsEnvironment::expand_directory_variables(core::String& text) {
  core::expand_directory_variables(text, env_, dirs_);
}

void WindowsEnvironment::create_directories(const core::String& path) { core::create_directory(path.text()); }

}  // namespace install
