// The installation's batches.
#include "install/batch_file.h"

#include "core/paths.h"
#include "core/win/whole_file.h"
#include "install/engine.h"
#include "install/process_runner.h"
#include "install/restart_replace.h"
#include "ui/run_state.h"

namespace install {

namespace {

constexpr char kBatchName[] = "QVINBAT.BAT";

using core::DirectoryVariable;

struct BatchRow {
  const char* name;
  DirectoryVariable variable;
};

// After InstallDir and InstallDrive, in the order the batch sets them.
constexpr BatchRow kBatchRows[] = {
    {"UninstallDir", DirectoryVariable::UninstallDir},
    {"SharedDir", DirectoryVariable::SharedDir},
    {"InstallerFilepath", DirectoryVariable::InstallerFilepath},
    {"InstallerDir", DirectoryVariable::InstallerDir},
    {"InstallerFilename", DirectoryVariable::InstallerFilename},
    {"InstallerDrive", DirectoryVariable::InstallerDrive},
    {"SystemDir", DirectoryVariable::SystemDir},
    {"DeviceDir", DirectoryVariable::DeviceDir},
    {"MediaDir", DirectoryVariable::MediaDir},
    {"FavoritesDir", DirectoryVariable::FavoritesDir},
    {"FavoritesAllDir", DirectoryVariable::FavoritesAllDir},
    {"FontDir", DirectoryVariable::FontDir},
    {"DesktopDir", DirectoryVariable::DesktopDir},
    {"DesktopAllDir", DirectoryVariable::DesktopAllDir},
    {"DocumentDir", DirectoryVariable::DocumentDir},
    {"DocumentAllDir", DirectoryVariable::DocumentAllDir},
    {"ProgramsDir", DirectoryVariable::ProgramsDir},
    {"StartMenuDir", DirectoryVariable::StartMenuDir},
    {"StartMenuAllDir", DirectoryVariable::StartMenuAllDir},
    {"SMProgramsDir", DirectoryVariable::SMProgramsDir},
    {"SMProgramsAllDir", DirectoryVariable::SMProgramsAllDir},
    {"StartupDir", DirectoryVariable::StartupDir},
    {"StartupAllDir", DirectoryVariable::StartupAllDir},
    {"BootDrive", DirectoryVariable::BootDrive},
    {"CommonDir", DirectoryVariable::CommonDir},
};

}  // namespace

core::Vector<BatchVariable> batch_variables(const core::ProcessEnvironment& env,
                                            const core::InstallationDirectories& dirs) {
  core::Vector<BatchVariable> variables;
  if (!dirs.install_dir.is_empty()) {
    variables.append(BatchVariable{"InstallDir", dirs.install_dir});
    variables.append(BatchVariable{"InstallDrive", core::drive_text(dirs.install_dir.first_char())});
  }
  for (const BatchRow& row : kBatchRows) {
    // The batch gets the installer's drive with its colon, unlike %InstallerDrive%.
    core::String value = row.variable == DirectoryVariable::InstallerDrive
                             ? core::drive_text(env.installer_drive)
                             : core::directory_variable_value(row.variable, env, dirs);
    variables.append(BatchVariable{row.name, value});
  }
  return variables;
}

bool run_batch_file(const core::String& commands, const core::String& directory, bool hidden, bool automatic,
                    const core::ProcessEnvironment& env, const core::InstallationDirectories& dirs) {
  if (commands.is_blank()) return true;
  core::String text = batch_file_text(batch_variables(env, dirs), commands, automatic || hidden);
  core::String path = core::join_path(directory.text(), kBatchName);
  if (!core::write_file(path.text(), text.text(), text.length())) return false;

  core::String line = batch_command_line(env.command_interpreter, path);
  // An interpreter path with blanks goes to the system unquoted as the program: Wine
  // refuses a quoted program name, and the command line alone would be split at a blank.
  core::String program = interpreter_program(env.command_interpreter);
  if (program.find_any_of(core::kWhiteSpace) < 0) program.clear();
  uint32_t options = run_option::Wait | run_option::PumpMessages | (hidden ? run_option::Hidden : 0);
  uint32_t result = run_process(line, options, directory.text(), program.text());
  delete_file(path, 0);
  return result != kStartFailed;
}

void run_batch(const core::String& commands, const core::String& directory, bool hidden) {
  const ui::RunState& state = ui::run_state();
  run_batch_file(commands, directory, hidden, state.automatic, state.environment, state.directories);
}

}  // namespace install
