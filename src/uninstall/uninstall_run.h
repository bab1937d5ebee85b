// What one uninstallation works with: the product's directories and values as its uninstall
// key has them, the run's records (the error report, and the removal list written back to
// "Uninstall.DAT"), and the folders that no clean-up may touch.
#pragma once

#include <stdint.h>

#include "core/array.h"
#include "core/string.h"
#include "install/association_record_codec.h"
#include "install/protected_folder_rules.h"
#include "install/run_records.h"

namespace uninstall {

struct UninstallRun {
  core::String product_name;
  core::String install_dir;
  core::String uninstall_dir;
  core::String shared_dir;
  core::String font_list;         // "ProductFonts"
  int32_t shortcut_mode = 0;      // 1: the start-menu group is the all users' one

  install::RunRecords records;
  core::Vector<install::AssociationRecord> associations;
  core::Vector<core::String> directories;  // '~' lines, removed after the files

  // The machine's protected folders, and the system's own trees (Windows and system
  // directories) into which no line of "Uninstall.DAT" may lead.
  const install::ProtectedFolderSet* protected_folders = nullptr;
  core::Vector<core::String> system_trees;
};

}  // namespace uninstall
