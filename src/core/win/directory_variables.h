// Directory variables (%InstallDir%, %SystemDir%, %DesktopDir%...) replaced by the
// directories of the machine and of the installation.
#pragma once

#include "core/string.h"
#include "core/win/environment.h"

namespace core {

// The directories that come from the installation's settings rather than the machine;
// each may be empty while it is not known yet.
struct InstallationDirectories {
  String install_dir;    // %InstallDir%, and %InstallDrive% from it
  String uninstall_dir;  // %UninstallDir%: the installation directory joined with the uninstall subdirectory
  String shared_dir;     // %SharedDir%: empty without uninstall support
};

// The variables in the order in which they are replaced.
enum class DirectoryVariable : int {
  BootDrive,
  CommonDir,
  InstallDir,
  InstallDrive,
  UninstallDir,
  ProgramsDir,
  SharedDir,
  SystemDir,
  InstallerDir,
  InstallerDrive,
  InstallerFilename,
  InstallerFilepath,
  DeviceDir,
  MediaDir,
  FavoritesDir,
  FavoritesAllDir,
  FontDir,
  DesktopDir,
  DesktopAllDir,
  DocumentDir,
  DocumentAllDir,
  StartMenuDir,
  StartMenuAllDir,
  SMProgramsDir,
  SMProgramsAllDir,
  StartupDir,
  StartupAllDir,
  Temp,
  WinDir,
  Count
};

// The variable's name with its percent signs ("%InstallDir%").
const char* directory_variable_name(DirectoryVariable which);

// The variable's value now (special folders are looked up afresh on every call).
String directory_variable_value(DirectoryVariable which, const ProcessEnvironment& env,
                                 const InstallationDirectories& dirs);

// Replaces every variable in text, in the order above, ignoring the case of ASCII
// letters. Each variable is replaced once over the whole text, so a value inserted by an
// earlier variable is scanned by the later ones and never again; other %names% stay.
// Returns false when a variable present in the text stood for an empty value (%SharedDir%
// without uninstall support): such a text names less than its author meant, and callers
// that delete or write must not use it.
bool expand_directory_variables(String& text, const ProcessEnvironment& env, const InstallationDirectories& dirs);

}  // namespace core
