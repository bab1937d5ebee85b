// Shortcuts and the desktop folder.
#include "install/shortcuts.h"

#include "archive/language_tables.h"
#include "core/paths.h"
#include "core/win/directories.h"
#include "core/win/directory_variables.h"
#include "core/win/optional_functions.h"
#include "core/win/shell_link.h"
#include "core/win/system_error.h"
#include "core/win/whole_file.h"
#include "core/win/windows.h"
#include "install/shortcut_rules.h"
#include "install/uninstall_registration.h"
#include "install/uninstall_values_rules.h"
#include "ui/run_state.h"

#include <shlobj.h>

namespace install {
namespace {

constexpr const char* kDesktopIni = "Desktop.ini";
constexpr const char* kDesktopIcon = "Desktop Icon.ico";

bool all_users(const InstallContext& context) { return context.settings.shortcut_mode == kAllUsersShortcutMode; }

core::String folder(core::DirectoryVariable current_user, core::DirectoryVariable every_user,
                    const InstallContext& context) {
  return core::directory_variable_value(all_users(context) ? every_user : current_user, context.env, context.dirs);
}

core::String desktop_folder(const InstallContext& context) {
  return folder(core::DirectoryVariable::DesktopDir, core::DirectoryVariable::DesktopAllDir, context);
}

// The product's folder below the start menu's programs.
core::String start_menu_folder(const InstallContext& context) {
  core::String programs = folder(core::DirectoryVariable::SMProgramsDir, core::DirectoryVariable::SMProgramsAllDir,
                                 context);
  return core::join_path(programs.text(), context.settings.start_menu_folder.text());
}

void set_attribute_bits(const core::String& path, DWORD bits) {
  DWORD attributes = GetFileAttributesA(path.text());
  if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(path.text(), attributes | bits);
}

// One link: written, or reported. With the detailed log a written link is logged as
// "<kind>(<name>) -> <link>", or "<kind> -> <link>" without a name; the link logged and
// recorded is the path written.
bool make_link(core::String link, const ShortcutCommand& command, const core::String& working_directory,
               const core::String& icon, const char* kind, const core::String* name, bool record,
               const InstallContext& context) {
  link = shortcut_file_path(link);
  if (!core::create_shell_link(link, command.target.text(), command.arguments.text(), working_directory.text(),
                               icon.text())) {
    context.records.report_failure(ui::localised(archive::text_id::FileNotWritten), link, core::last_error_text());
    return false;
  }
  if (context.has_flag(archive::flag::DetailedLog)) {
    core::String& log = context.records.install_log;
    log.append(kind);
    if (name != nullptr) {
      log.append('(');
      log.append(*name);
      log.append(')');
    }
    log.append(" -> ");
    log.append(link);
    log.append("\r\n");
  }
  if (record) context.records.record_for_removal(link, false);
  return true;
}

// The desktop folder, once per run: created, recorded for removal, given its icon.
void prepare_desktop_folder(const core::String& path, const InstallContext& context) {
  RunRecords& records = context.records;
  if (!core::create_directory(path.text())) {
    records.error_report.append_format("Failed to create directory %s: %s\r\n", path.text(),
                                       core::last_error_text().text());
  }
  core::String ini = core::join_path(path.text(), kDesktopIni);
  records.record_for_removal(ini, false);
  records.record_for_removal(path, true);
  const core::String& icon_bytes = context.settings.desktop_folder_icon;
  if (icon_bytes.is_empty()) return;
  core::String icon = core::join_path(context.dirs.uninstall_dir.text(), kDesktopIcon);
  if (!core::write_file(icon.text(), icon_bytes.text(), icon_bytes.length())) {
    records.error_report.append_format("Failed to create desktop shortcut folder icon \"%s\"\r\n", icon.text());
    return;
  }
  WritePrivateProfileStringA(".ShellClassInfo", "IconFile", icon.text(), ini.text());
  WritePrivateProfileStringA(".ShellClassInfo", "IconIndex", "0", ini.text());
  records.record_for_removal(icon, false);
  set_attribute_bits(path, FILE_ATTRIBUTE_SYSTEM);
  set_attribute_bits(ini, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

}  // namespace

bool create_shortcuts(const InstallContext& context) {
  const archive::Settings& settings = context.settings;
  RunRecords& records = context.records;
  bool uninstaller = context.has_flag(archive::flag::UninstallSupport);
  core::String uninstaller_program = uninstaller_path(context);
  core::String uninstaller_arguments = uninstall_arguments(settings.uninstall_key);
  const core::String& uninstaller_name = ui::localised(archive::text_id::UninstallerShortcutName);

  if (uninstaller && context.has_flag2(archive::flag2::UninstallerShortcutOnDesktop)) {
    ShortcutRequest& request = records.shortcut_requests.append();
    request.desktop = true;
    request.target = uninstaller_program;
    request.arguments = uninstaller_arguments;
    request.name = uninstaller_name;
  }

  bool desktop_requested = false;
  bool desktop_folder_ready = false;
  core::String desktop_folder_path;
  if (!settings.desktop_folder.is_empty()) {
    desktop_folder_path = core::join_path(desktop_folder(context).text(), settings.desktop_folder.text());
  }
  for (const ShortcutRequest& request : records.shortcut_requests) {
    core::String arguments = request.arguments;
    core::expand_directory_variables(arguments, context.env, context.dirs);
    core::String working_directory = request.working_directory;
    core::expand_directory_variables(working_directory, context.env, context.dirs);
    working_directory = clean_working_directory(working_directory);
    if (working_directory.is_empty() || !core::is_directory(working_directory.text())) {
      working_directory = context.dirs.install_dir;
    }
    ShortcutCommand command = shortcut_command(request.target, arguments);
    bool record = !request.permanent;

    if (request.desktop) {
      desktop_requested = true;
      if (desktop_folder_path.is_empty()) {
        make_link(core::join_path(desktop_folder(context).text(), request.name.text()), command, working_directory,
                  request.icon, "Desktop Shortcut", &request.name, record, context);
      } else {
        if (!desktop_folder_ready) {
          prepare_desktop_folder(desktop_folder_path, context);
          desktop_folder_ready = true;
        }
        make_link(core::join_path(desktop_folder_path.text(), request.name.text()), command, working_directory,
                  request.icon, "Desktop Folder Shortcut", &request.name, record, context);
      }
    }
    if (request.start_menu) {
      make_link(core::join_path(start_menu_folder(context).text(), request.name.text()), command, working_directory,
                request.icon, "Start Menu Shortcut", &request.name, record, context);
    }
    if (request.startup) {
      core::String startup = folder(core::DirectoryVariable::StartupDir, core::DirectoryVariable::StartupAllDir, context);
      make_link(core::join_path(startup.text(), request.name.text()), command, working_directory, request.icon,
                "Startup Shortcut", &request.name, record, context);
    }
  }

  if (uninstaller) {
    ShortcutCommand command{uninstaller_program, uninstaller_arguments};
    core::String none;
    if (context.has_flag(archive::flag::UninstallerShortcutInStartMenu)) {
      make_link(core::join_path(start_menu_folder(context).text(), uninstaller_name.text()), command, none, none,
                "Uninstaller Shortcut", nullptr, true, context);
    }
    if (context.has_flag2(archive::flag2::UninstallerShortcutInUninstallDirectory)) {
      make_link(core::join_path(context.dirs.uninstall_dir.text(), uninstaller_name.text()), command, none, none,
                "Uninstaller Shortcut", nullptr, true, context);
    }
  }
  return desktop_requested;
}

void notify_desktop_changed(const InstallContext& context) {
  auto notify = core::optional_function<core::Optional::SHChangeNotify>();
  if (notify == nullptr) return;
  notify(SHCNE_UPDATEDIR, SHCNF_PATHA, desktop_folder(context).text(), nullptr);
}

}  // namespace install
