// The folders that no rule of a product may delete in or walk into, on text alone: drive
// roots, the system's own folders and every ancestor of one. The machine's list is
// gathered by protected_folders.h; this half decides, so it can be tested anywhere.
#pragma once

#include <stdint.h>

#include "core/array.h"
#include "core/string.h"

namespace install {

// The path in one comparable form: '/' read as '\', repeated separators, "." and ".."
// resolved (never above the root), trailing dots and blanks of each name dropped (the
// system ignores them), ASCII letters upper-cased, no trailing '\' ("C:\" gives "C:").
// Empty for a path that is neither "X:..." nor "\\server\share...": a relative path names
// no fixed folder.
core::String comparable_path(const char* path);

class ProtectedFolderSet {
 public:
  // Adds a folder; an empty or relative one is ignored.
  void add(const char* folder);
  int32_t count() const { return folders_.count(); }

  // A drive or share root, a folder of the set, an ancestor of one (a deletion there would
  // reach it), or a path that names no fixed folder at all.
  bool is_protected(const char* path) const;
  // A drive or share root or a folder of the set itself (a walk must not enter it; its
  // ancestors may be walked as long as it is left out).
  bool is_protected_folder(const char* path) const;

 private:
  core::Vector<core::String> folders_;  // comparable forms
};

// What a pattern of a deletion rule (as listed, with its " /s" suffix) can reach: one
// named file, or every matching file of `directory` (wildcards or " /s"), or nothing fixed
// at all (a relative pattern).
enum class PatternReach { SingleFile, Directory, Relative };
PatternReach deletion_pattern_reach(const core::String& pattern, core::String& directory);

// A single named file may go anywhere; a pattern reaching a whole directory only when that
// directory is not protected by `is_protected` (a callable taking the directory's text);
// a relative pattern never.
template <class IsProtected>
bool deletion_pattern_allowed(const core::String& pattern, IsProtected is_protected) {
  core::String directory;
  switch (deletion_pattern_reach(pattern, directory)) {
    case PatternReach::SingleFile:
      return true;
    case PatternReach::Directory:
      return !is_protected(directory);
    case PatternReach::Relative:
      break;
  }
  return false;
}

}  // namespace install
