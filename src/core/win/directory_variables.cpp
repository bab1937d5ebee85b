// Directory variables and their expansion.
#include "core/win/directory_variables.h"

#include "core/paths.h"
#include "core/win/system_folders.h"

namespace core {

namespace {

constexpr const char* variable_names[] = {
    "%BootDrive%",       "%CommonDir%",        "%InstallDir%",     "%InstallDrive%",   "%UninstallDir%",
    "%ProgramsDir%",     "%SharedDir%",        "%SystemDir%",      "%InstallerDir%",   "%InstallerDrive%",
    "%InstallerFilename%", "%InstallerFilepath%", "%DeviceDir%",   "%MediaDir%",       "%FavoritesDir%",
    "%FavoritesAllDir%", "%FontDir%",          "%DesktopDir%",     "%DesktopAllDir%",  "%DocumentDir%",
    "%DocumentAllDir%",  "%StartMenuDir%",     "%StartMenuAllDir%", "%SMProgramsDir%", "%SMProgramsAllDir%",
    "%StartupDir%",      "%StartupAllDir%",    "%Temp%",           "%WinDir%",
};
static_assert(sizeof(variable_names) / sizeof(variable_names[0]) == static_cast<int>(DirectoryVariable::Count));

String folder(SpecialFolder which, const ProcessEnvironment& env) {
  return special_folder(which, env.windows_directory.text());
}

}  // namespace

const char* directory_variable_name(DirectoryVariable which) {
  if (which < DirectoryVariable::BootDrive || which >= DirectoryVariable::Count) return "";
  return variable_names[static_cast<int>(which)];
}

String directory_variable_value(DirectoryVariable which, const ProcessEnvironment& env,
                                 const InstallationDirectories& dirs) {
  using V = DirectoryVariable;
  switch (which) {
    case V::BootDrive: return drive_text(boot_drive_letter());
    case V::CommonDir: return folder(SpecialFolder::CommonFiles, env);
    case V::InstallDir: return dirs.install_dir;
    case V::InstallDrive: return drive_prefix(dirs.install_dir.text());
    case V::UninstallDir: return dirs.uninstall_dir;
    case V::ProgramsDir: return folder(SpecialFolder::ProgramFiles, env);
    case V::SharedDir: return dirs.shared_dir;
    case V::SystemDir: return system_directory(env);
    case V::InstallerDir: return env.installer_directory;
    case V::InstallerDrive: {
      String letter;
      if (env.installer_drive != 0) letter.append(&env.installer_drive, 1);
      return letter;
    }
    case V::InstallerFilename: return env.installer_name;
    case V::InstallerFilepath: return env.installer_path;
    case V::DeviceDir: return folder(SpecialFolder::DeviceInf, env);
    case V::MediaDir: return folder(SpecialFolder::Media, env);
    case V::FavoritesDir: return folder(SpecialFolder::UserFavorites, env);
    case V::FavoritesAllDir: return folder(SpecialFolder::CommonFavorites, env);
    case V::FontDir: return folder(SpecialFolder::Fonts, env);
    case V::DesktopDir: return folder(SpecialFolder::UserDesktop, env);
    case V::DesktopAllDir: return folder(SpecialFolder::CommonDesktop, env);
    case V::DocumentDir: return folder(SpecialFolder::UserDocuments, env);
    case V::DocumentAllDir: return folder(SpecialFolder::CommonDocuments, env);
    case V::StartMenuDir: return folder(SpecialFolder::UserStartMenu, env);
    case V::StartMenuAllDir: return folder(SpecialFolder::CommonStartMenu, env);
    case V::SMProgramsDir: return folder(SpecialFolder::UserPrograms, env);
    case V::SMProgramsAllDir: return folder(SpecialFolder::CommonPrograms, env);
    case V::StartupDir: return folder(SpecialFolder::UserStartup, env);
    case V::StartupAllDir: return folder(SpecialFolder::CommonStartup, env);
    case V::Temp: return env.temp_directory;
    case V::WinDir: return env.windows_directory;
    case V::Count: break;
  }
  return String();
}

bool expand_directory_variables(String& text, const ProcessEnvironment& env, const InstallationDirectories& dirs) {
  bool all_values = true;
  for (int i = 0; i < static_cast<int>(DirectoryVariable::Count); ++i) {
    const char* name = variable_names[i];
    // Looking a value up can mean reading the registry: only for variables present.
    if (text.find(name, 0, search::IgnoreCase) < 0) continue;
    String value = directory_variable_value(static_cast<DirectoryVariable>(i), env, dirs);
    if (value.is_empty()) all_values = false;
    text.replace(name, value.text(), search::IgnoreCase);
  }
  return all_values;
}

}  // namespace core
