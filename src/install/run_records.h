// What one installation run collects as it goes: the installation log and the error report,
// the removal list that becomes "Uninstall.DAT", and the work that the file table queues for
// the later phases. The driver creates one and passes it to every phase; nothing is global.
#pragma once

#include <stdint.h>

#include "core/array.h"
#include "core/hash_table.h"
#include "core/string.h"

namespace install {

// A shortcut that the file table asks the shortcut phase to create.
struct ShortcutRequest {
  bool desktop = false;
  bool start_menu = false;
  bool startup = false;
  bool permanent = false;  // created, never recorded for removal
  core::String target;
  core::String name;
  core::String icon;  // full path, or empty
  core::String arguments;
  core::String working_directory;
};

// One file of the shared-file list: its target and its one-character marker (0 for none,
// see shared_marker in shared_files_codec.h).
struct SharedFile {
  core::String target;
  char marker = 0;
  // The file was on the machine before this installation wrote it: when no product has
  // counted it yet, the count starts at 1 so that it survives the last uninstallation.
  bool existed_before = false;
};

// A font the file table installed, for the font phase to register.
struct FontRequest {
  core::String face;
  core::String path;  // its full path in the fonts directory
  bool permanent = false;  // registered, never put in the font list
};

class RunRecords {
 public:
  RunRecords();

  // Decisions and successes, one line each; written to "Install.LOG" at the end.
  core::String install_log;
  // Failures, each a paragraph; written after the log and summarised once.
  core::String error_report;
  // The error report's paragraph of an item that could not be made:
  // "<label> <path>\r\n<system text>\r\n".
  void report_failure(const core::String& label, const core::String& path, const core::String& system_text);

  // The body of "Uninstall.DAT": one path a line, directories with a leading '~'.
  const core::String& removal_list() const { return removal_list_; }
  // Drive roots (3 characters or fewer) are never recorded; a directory is recorded once.
  void record_for_removal(const core::String& path, bool as_directory);
  void clear_removal_list();

  // Queued by the file table, in file-table order, for the later phases.
  core::Vector<ShortcutRequest> shortcut_requests;
  core::Vector<SharedFile> shared_files;
  core::Vector<core::String> com_targets;
  core::Vector<core::String> type_libraries;
  core::Vector<FontRequest> font_requests;
  core::String font_list;  // the value of "ProductFonts"
  bool fonts_changed = false;

  // Something was scheduled for the next restart: the end of the run asks about one.
  bool restart_needed = false;

 private:
  core::String removal_list_;
  core::HashTable<core::String, bool> recorded_directories_;  // upper-cased paths
};

}  // namespace install
