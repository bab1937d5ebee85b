// The process-wide state of one run: what the driver has read, and what every window and
// message consults (the owner of message boxes, automatic mode, the settings and texts).
#pragma once

#include <stdint.h>

#include "archive/archive_header.h"
#include "archive/settings.h"
#include "core/string.h"
#include "core/win/directory_variables.h"
#include "core/win/environment.h"
#include "core/win/windows.h"

namespace ui {

struct RunState {
  HINSTANCE instance = nullptr;
  core::ProcessEnvironment environment;  // collected first thing

  bool automatic = false;     // /a, or settings flag Automatic
  bool uninstalling = false;  // /u: the progress dialog speaks of removal, cancel is off

  HWND background_window = nullptr;  // owner of dialogs and of message boxes without progress
  HWND progress_dialog = nullptr;    // while it exists, the owner of message boxes
  HWND progress_bar = nullptr;       // not reset when the dialog dies
  DWORD marked_tick = 0;             // GetTickCount at the last status change

  archive::ArchiveHeader header;  // the file sizes feed the disk-space estimate
  archive::Settings settings;     // flag words first, the rest once the checksum passed
  bool settings_read = false;     // the flag words are in `settings`
  bool languages_loaded = false;  // localised() answers from the archive

  core::String install_directory;    // /d:, then settled by the wizard
  core::InstallationDirectories directories;  // what %InstallDir%, %UninstallDir%... stand for
  core::String uninstaller_image;  // this program without its archive, for the uninstall directory
  bool reinstall = false;            // a previous installation's directory was taken over
  core::String previous_shared_files;  // "SharedFiles" of the previous installation
  core::String previous_product_fonts;  // "ProductFonts" of the previous installation
};

// The one record of this process.
RunState& run_state();

// The window that owns message boxes: the progress dialog while it exists, else the
// background window, else none.
HWND owner_window();

// Localised text `id` of the current language with "<product>" and "<os>" replaced; empty
// before the language tables are loaded or for an unknown id.
const core::String& localised(int32_t id);

// Bits of the settings' flag words (false before they are read).
bool has_flag(uint32_t bit);
bool has_flag2(uint32_t bit);

}  // namespace ui
