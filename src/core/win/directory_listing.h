// Listing a directory: entries with their times, attributes, names and size, skipping
// names no path may hold; and ordering paths by their files' modification times.
#pragma once

#include <stdint.h>

#include "core/array.h"
#include "core/file_time.h"
#include "core/string.h"
#include "core/win/windows.h"

namespace core {

// One entry of a listing. Times are local, whole seconds.
struct DirectoryEntry {
  FileTimeRecord last_access_time;
  uint32_t attributes = 0;  // Windows attribute bits; FILE_ATTRIBUTE_DIRECTORY marks a directory
  FileTimeRecord last_write_time;
  FileTimeRecord creation_time;
  String name;        // long name
  String short_name;  // 8.3 name, may be empty
  uint64_t size = 0;

  bool is_directory() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// One walk over the entries matching a pattern. Entries with an empty name or a name
// holding any of invalid_path_chars (possible on some network file systems) are skipped.
class DirectoryListing {
 public:
  DirectoryListing() = default;
  ~DirectoryListing() { find_close(); }
  DirectoryListing(const DirectoryListing&) = delete;
  DirectoryListing& operator=(const DirectoryListing&) = delete;

  // Starts a new walk (closing any earlier one) and fills entry with the first match;
  // false when nothing matches.
  bool find_first(const char* pattern, DirectoryEntry& entry);
  // The next match; false (and the walk closed) when the list runs out.
  bool find_next(DirectoryEntry& entry);
  // Ends the walk; closing twice is harmless.
  void find_close();

 private:
  // Fills entry from the current find data, or moves on past skipped names.
  bool take_acceptable(DirectoryEntry& entry);

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAA data_;
};

// The last-write time of the file at path; the cleared record when it cannot be found.
FileTimeRecord modified_time(const char* path);

// Orders paths by their files' last-write times (compare_file_times): oldest first, or
// newest first. A file that cannot be found has no time and goes after every dated one
// when oldest first (before them when newest first). Not stable.
void sort_by_modified_time(Vector<String>& paths, bool oldest_first);

}  // namespace core
