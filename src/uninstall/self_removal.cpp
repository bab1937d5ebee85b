// Writing and starting the self-removal batch.
#include "uninstall/self_removal.h"

#include "core/array.h"
#include "core/paths.h"
#include "core/win/whole_file.h"
#include "core/win/windows.h"
#include "install/batch_rules.h"
#include "install/process_runner.h"
#include "install/protected_folders.h"
#include "install/restart_replace.h"
#include "ui/run_state.h"
#include "uninstall/uninstall_rules.h"

namespace uninstall {

namespace {

constexpr char kBatchPath[] = "c:\\delunins.bat";
constexpr char kBatchName[] = "delunins.bat";

bool directory_identity(const core::String& path, BY_HANDLE_FILE_INFORMATION& identity) {
  HANDLE directory = CreateFileA(path.text(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (directory == INVALID_HANDLE_VALUE) return false;
  BOOL known = GetFileInformationByHandle(directory, &identity);
  CloseHandle(directory);
  return known != FALSE;
}

// The same directory by name, by 8.3 name, or by the system's identity of the directory
// (another drive letter or a link that leads to it).
bool same_directory(const core::String& a, const core::String& b) {
  core::String first = install::comparable_path(a.text());
  if (!first.is_empty() && first == install::comparable_path(b.text())) return true;
  core::String short_first = install::comparable_path(install::short_path_form(a).text());
  if (!short_first.is_empty() && short_first == install::comparable_path(install::short_path_form(b).text())) {
    return true;
  }
  BY_HANDLE_FILE_INFORMATION one = {};
  BY_HANDLE_FILE_INFORMATION other = {};
  return directory_identity(a, one) && directory_identity(b, other) &&
         one.dwVolumeSerialNumber == other.dwVolumeSerialNumber && one.nFileIndexHigh == other.nFileIndexHigh &&
         one.nFileIndexLow == other.nFileIndexLow;
}

bool write_batch(const core::String& path, const core::String& program, const core::Vector<core::String>& directories) {
  core::String text = self_removal_batch_text(program, directories, path);
  return core::write_file(path.text(), text.text(), text.length());
}

}  // namespace

bool is_installed_uninstaller(const core::ProcessEnvironment& env, const core::String& uninstall_dir) {
  return !uninstall_dir.is_blank() && same_directory(core::directory_part(env.installer_path.text()), uninstall_dir);
}

SelfRemoval start_self_removal() {
  const ui::RunState& state = ui::run_state();
  const core::ProcessEnvironment& env = state.environment;
  const core::InstallationDirectories& dirs = state.directories;
  const install::ProtectedFolderSet& protected_folders = install::machine_protected_folders(env);

  core::String program;
  if (is_installed_uninstaller(env, dirs.uninstall_dir)) program = env.installer_path;
  core::Vector<core::String> directories;
  for (const core::String* directory : {&dirs.uninstall_dir, &dirs.install_dir}) {
    if (directory->is_blank() || install::is_protected_folder_path(protected_folders, *directory)) continue;
    if (!directories.is_empty() && same_directory(directories.back(), *directory)) continue;
    directories.append(*directory);
  }

  core::String path = kBatchPath;
  if (!write_batch(path, program, directories)) {
    path = core::join_path(env.temp_directory.text(), kBatchName);
    if (!write_batch(path, program, directories)) return SelfRemoval::NotWritten;
  }

  core::String line = env.command_interpreter;
  line.append(" /c \"");
  line.append(path);
  line.append('"');
  // An interpreter path with blanks goes to the system unquoted as the program: Wine
  // refuses a quoted program name, and the command line alone would be split at a blank.
  core::String interpreter = install::interpreter_program(env.command_interpreter);
  const char* program_file = interpreter.find_any_of(core::kWhiteSpace) >= 0 ? interpreter.text() : nullptr;
  // The batch runs in its own directory, so that no directory it removes is its current one.
  core::String directory = core::directory_part(path.text());
  uint32_t result = install::run_process(line, install::run_option::Minimised | install::run_option::NewConsole,
                                         directory.text(), program_file);
  return result == install::kStartFailed ? SelfRemoval::NotStarted : SelfRemoval::Started;
}

}  // namespace uninstall
