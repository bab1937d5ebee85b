// The file table's decisions that need no machine: where an entry goes, whether its
// existence mode lets it be written, and whether the date and version rules let it replace
// the file that is there.
#pragma once

#include "archive/file_entry.h"
#include "core/file_time.h"
#include "core/string.h"

namespace install {

// The directories the destination kinds put files in; any may be empty (unknown here).
struct KindDirectories {
  core::String install;
  core::String shared;
  core::String uninstall;
  core::String system;
  core::String fonts;
};

// An entry's name and destination after the rename: a destination without '\' is the
// file's new name and leaves no destination path.
struct RenamedEntry {
  core::String name;
  core::String destination;  // empty, or a path
};
RenamedEntry rename_entry(const archive::FileEntry& entry);

enum class TargetProblem {
  None,
  NoDirectory,       // a kind without a directory and no destination path (damage)
  EmptyVariable,     // a variable in the destination stood for nothing
  NotFullPath,       // the directory is not known on this machine
};

struct FileTarget {
  core::String path;
  bool create_parent = false;  // the kind's directory is created, or the destination's
  TargetProblem problem = TargetProblem::None;
};

// The target of an entry. `destination` is the renamed destination with its directory
// variables expanded, `complete` whether every variable in it stood for something.
FileTarget file_target(const archive::FileEntry& entry, const RenamedEntry& renamed, const core::String& destination,
                       bool complete, const KindDirectories& dirs);

// The kinds whose files (and directories) go into the uninstall list.
bool removable_kind(uint32_t kind);

// What the existence mode says of an entry whose target exists or not.
enum class ExistenceAction { Write, Skip, SkipButRecord };
ExistenceAction existence_action(archive::ExistenceMode mode, bool target_exists, bool removable);

// What the overwrite rule of the entry's kind says of the file that is there.
struct ExistingFile {
  bool exists = false;
  core::FileTimeRecord modified;  // no date: the time could not be read
  core::String version;           // the "FileVersion" text, empty when none (version kinds only)
};

enum class OverwriteDecision {
  Write,              // no rule applies or nothing is there
  OutOfDate,          // " is out of date and will be replaced."
  UpToDate,           // " is up to date."
  VersionNotNewer,    // " was not installed because its version is not newer."
  DateNotNewer,       // " was not installed because its date is not newer."
};
OverwriteDecision overwrite_decision(const archive::FileEntry& entry, const ExistingFile& existing);

// The log line's ending for a decision that writes one; null for Write.
const char* overwrite_log_text(OverwriteDecision decision);
// The decision keeps the existing file.
inline bool keeps_existing(OverwriteDecision d) {
  return d == OverwriteDecision::UpToDate || d == OverwriteDecision::VersionNotNewer ||
         d == OverwriteDecision::DateNotNewer;
}

// The shared-file marker of an entry of kind 1, 6, 7 or 8.
char shared_marker_for(uint32_t kind, uint32_t flags);
// Kinds whose targets go into the shared-file list.
bool shared_kind(uint32_t kind);

}  // namespace install
