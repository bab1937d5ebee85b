// Special folders: registry value, shell query, fallback; the boot drive.
#include "core/win/system_folders.h"

#include <stdio.h>

#include "core/paths.h"
#include "core/win/directories.h"
#include "core/win/optional_functions.h"
#include "core/win/registry.h"
#include "core/win/windows.h"

namespace core {

namespace {

constexpr const char* shell_folders_key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\";
constexpr const char* current_version_key = "Software\\Microsoft\\Windows\\CurrentVersion\\";

// How a row ends when the registry and the shell had nothing.
enum class Fallback {
  InWindows,  // the Windows directory joined with `text`
  Fixed,      // `text` as it is
  Folder,     // the folder `base`
  InFolder,   // the folder `base` joined with `text`
};

struct FolderRow {
  const char* value_name;
  bool setup;   // a setup value below CurrentVersion, else a Shell Folders value
  bool common;  // Shell Folders of all users (HKEY_LOCAL_MACHINE)
  int shell_number;  // CSIDL, or -1 for no shell step
  Fallback fallback;
  const char* text;
  SpecialFolder base;
};

using F = SpecialFolder;
constexpr FolderRow folder_rows[] = {
    {"Desktop", false, false, 16, Fallback::InWindows, "Desktop", F::Count},
    {"Common Desktop", false, true, 25, Fallback::Folder, nullptr, F::UserDesktop},
    {"Personal", false, false, 5, Fallback::Fixed, "c:\\My Documents", F::Count},
    {"Common Documents", false, true, 46, Fallback::Folder, nullptr, F::UserDocuments},
    {"Favorites", false, false, 6, Fallback::InWindows, "Favorites", F::Count},
    {"Common Favorites", false, true, 31, Fallback::Folder, nullptr, F::UserFavorites},
    {"Fonts", false, false, 20, Fallback::InWindows, "Fonts", F::Count},
    {"Start Menu", false, false, 11, Fallback::InWindows, "Start Menu", F::Count},
    {"Common Start Menu", false, true, 22, Fallback::Folder, nullptr, F::UserStartMenu},
    {"Programs", false, false, 2, Fallback::InFolder, "Programs", F::UserStartMenu},
    {"Common Programs", false, true, 23, Fallback::Folder, nullptr, F::UserPrograms},
    {"Startup", false, false, 7, Fallback::InFolder, "StartUp", F::UserPrograms},
    {"Common Startup", false, true, 24, Fallback::Folder, nullptr, F::UserStartup},
    {"ProgramFilesDir", true, false, 38, Fallback::Fixed, "c:\\Program Files", F::Count},
    {"CommonFilesDir", true, false, 43, Fallback::InFolder, "Common Files", F::ProgramFiles},
    {"MediaPath", true, false, -1, Fallback::InWindows, "Media", F::Count},
    {"DevicePath", true, false, -1, Fallback::InWindows, "INF", F::Count},
};
static_assert(sizeof(folder_rows) / sizeof(folder_rows[0]) == static_cast<int>(SpecialFolder::Count));

String read_machine_or_user(HKEY root, const char* key, const char* name) {
  String path(key);
  path.append(name);
  RegistryKey registry;
  String value = registry.read_text_at(root, path.text(), "", registry_option::ExistingOnly);
  if (value.length() > 3 && value.text()[value.length() - 1] == '\\') value.set_length(value.length() - 1);
  return value;
}

// The first "%SystemRoot%" (in any letter case) replaced by its value from the process
// environment; the text unchanged when there is none or it does not expand.
void expand_system_root(String& path) {
  constexpr const char* name = "%SystemRoot%";
  constexpr int32_t name_length = 12;
  int32_t at = path.find(name, 0, search::IgnoreCase);
  if (at < 0) return;
  String root(name);
  if (!expand_environment(root) || root.is_empty()) return;
  path.erase(at, name_length);
  path.insert(at, root.text(), root.length());
}

}  // namespace

String shell_folder_value(const char* name, bool common) {
  return read_machine_or_user(common ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, shell_folders_key, name);
}

String setup_value(const char* name) { return read_machine_or_user(HKEY_LOCAL_MACHINE, current_version_key, name); }

String special_folder_path(int folder_number) {
  auto query = optional_function<Optional::SHGetSpecialFolderPathA>();
  if (query == nullptr) return String();
  char buffer[MAX_PATH + 1] = {};
  if (!query(nullptr, buffer, folder_number, FALSE)) return String();
  return String(buffer);
}

String special_folder(SpecialFolder which, const char* windows_directory) {
  if (which < SpecialFolder::UserDesktop || which >= SpecialFolder::Count) return String();
  const FolderRow& row = folder_rows[static_cast<int>(which)];
  String path = row.setup ? setup_value(row.value_name) : shell_folder_value(row.value_name, row.common);
  if (!path.is_empty()) {
    // Only this value may carry several directories separated by ';'; it is used whole.
    if (which == SpecialFolder::DeviceInf) expand_system_root(path);
    return path;
  }
  if (row.shell_number >= 0) {
    path = special_folder_path(row.shell_number);
    if (!path.is_empty()) return path;
  }
  switch (row.fallback) {
    case Fallback::InWindows: return join_path(windows_directory, row.text);
    case Fallback::Fixed: return String(row.text);
    case Fallback::Folder: return special_folder(row.base, windows_directory);
    case Fallback::InFolder: {
      String base = special_folder(row.base, windows_directory);
      return join_path(base.text(), row.text);
    }
  }
  return path;
}

char boot_drive_letter() {
  RegistryKey registry;
  String boot = registry.read_text_at(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Setup\\BootDir",
                                      "", registry_option::ExistingOnly);
  char letter = drive_letter(boot.text());
  return letter != 0 ? letter : 'C';
}

}  // namespace core
