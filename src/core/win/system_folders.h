// Where the system keeps the desktop, start menu, documents, program files and the other
// special folders, for the current user and for all users, and the boot drive.
#pragma once

#include "core/string.h"

namespace core {

// The folders, one per row of the lookup table.
enum class SpecialFolder : int {
  UserDesktop,
  CommonDesktop,
  UserDocuments,
  CommonDocuments,
  UserFavorites,
  CommonFavorites,
  Fonts,
  UserStartMenu,
  CommonStartMenu,
  UserPrograms,
  CommonPrograms,
  UserStartup,
  CommonStartup,
  ProgramFiles,
  CommonFiles,
  Media,
  DeviceInf,
  Count
};

// The folder's path, looked up afresh on every call: the registry value the shell
// maintains, else the shell's own special-folder query, else a fixed fallback (built on
// windows_directory or on another folder). Never empty when windows_directory is not.
String special_folder(SpecialFolder which, const char* windows_directory);

// The registry steps. A value below "...\Explorer\Shell Folders" (HKEY_LOCAL_MACHINE when
// common, else HKEY_CURRENT_USER), or below "Software\Microsoft\Windows\CurrentVersion"
// in HKEY_LOCAL_MACHINE. A missing key or value gives "". A result longer than 3
// characters loses one trailing '\'.
String shell_folder_value(const char* name, bool common);
String setup_value(const char* name);

// The shell's query for a folder number (CSIDL); "" when the shell lacks the query or
// has no such folder. Never creates the folder.
String special_folder_path(int folder_number);

// The upper-case letter of the boot drive from the setup value "BootDir", else 'C'.
char boot_drive_letter();

}  // namespace core
