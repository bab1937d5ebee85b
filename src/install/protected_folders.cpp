// The protected folders of this machine.
#include "install/protected_folders.h"

#include "core/paths.h"
#include "core/win/system_folders.h"
#include "core/win/windows.h"
#include "install/restart_replace.h"

namespace install {

namespace {

// Every folder number the shell knows lies below this one.
constexpr int kFolderNumberLimit = 0x40;

// Environment variables naming system folders, among them the views that a 32-bit
// program on 64-bit Windows does not get from the shell.
constexpr const char* kFolderVariables[] = {
    "SystemRoot",         "windir",     "ProgramFiles", "ProgramFiles(x86)", "ProgramW6432",
    "CommonProgramFiles", "CommonProgramFiles(x86)",    "CommonProgramW6432", "USERPROFILE",
    "ALLUSERSPROFILE",    "PUBLIC",     "ProgramData",  "APPDATA",           "LOCALAPPDATA",
    "TEMP",               "TMP",
};

core::String environment_value(const char* name) {
  char buffer[MAX_PATH + 1] = {};
  DWORD length = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
  return length > 0 && length < sizeof(buffer) ? core::String(buffer) : core::String();
}

void add_both_forms(ProtectedFolderSet& folders, const core::String& folder) {
  if (folder.is_empty()) return;
  folders.add(folder.text());
  folders.add(short_path_form(folder).text());
}

}  // namespace

void add_machine_folders(ProtectedFolderSet& folders, const core::ProcessEnvironment& env) {
  const char* windows = env.windows_directory.text();
  add_both_forms(folders, env.windows_directory);
  add_both_forms(folders, core::system_directory(env));
  // The other system directory of 64-bit Windows, whichever view this program has.
  add_both_forms(folders, core::join_path(windows, "SysWOW64"));
  add_both_forms(folders, core::join_path(windows, "Sysnative"));
  add_both_forms(folders, env.temp_directory);
  for (int which = 0; which < static_cast<int>(core::SpecialFolder::Count); ++which) {
    add_both_forms(folders, core::special_folder(static_cast<core::SpecialFolder>(which), windows));
  }
  for (int number = 0; number < kFolderNumberLimit; ++number) {
    add_both_forms(folders, core::special_folder_path(number));
  }
  for (const char* name : kFolderVariables) add_both_forms(folders, environment_value(name));
}

const ProtectedFolderSet& machine_protected_folders(const core::ProcessEnvironment& env) {
  static ProtectedFolderSet folders;
  static bool gathered = false;
  if (!gathered) {
    add_machine_folders(folders, env);
    gathered = true;
  }
  return folders;
}

bool is_protected_path(const ProtectedFolderSet& folders, const core::String& path) {
  if (folders.is_protected(path.text())) return true;
  return folders.is_protected(short_path_form(path).text());
}

bool is_protected_folder_path(const ProtectedFolderSet& folders, const core::String& path) {
  if (folders.is_protected_folder(path.text())) return true;
  return folders.is_protected_folder(short_path_form(path).text());
}

}  // namespace install
