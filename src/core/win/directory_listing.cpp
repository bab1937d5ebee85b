// Listing a directory.
#include "core/win/directory_listing.h"

#include "core/paths.h"
#include "core/win/file_time_win.h"

namespace core {

bool DirectoryListing::find_first(const char* pattern, DirectoryEntry& entry) {
  find_close();
  if (pattern == nullptr) return false;
  handle_ = FindFirstFileA(pattern, &data_);
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  return take_acceptable(entry);
}

bool DirectoryListing::find_next(DirectoryEntry& entry) {
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  if (!FindNextFileA(handle_, &data_)) {
    find_close();
    return false;
  }
  return take_acceptable(entry);
}

void DirectoryListing::find_close() {
  if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

bool DirectoryListing::take_acceptable(DirectoryEntry& entry) {
  while (data_.cFileName[0] == 0 || has_invalid_path_char(data_.cFileName)) {
    if (!FindNextFileA(handle_, &data_)) {
      find_close();
      return false;
    }
  }
  entry.last_access_time = from_file_time(data_.ftLastAccessTime);
  entry.attributes = data_.dwFileAttributes;
  entry.last_write_time = from_file_time(data_.ftLastWriteTime);
  entry.creation_time = from_file_time(data_.ftCreationTime);
  entry.name = data_.cFileName;
  entry.short_name = data_.cAlternateFileName;
  entry.size = (static_cast<uint64_t>(data_.nFileSizeHigh) << 32) | data_.nFileSizeLow;
  return true;
}

FileTimeRecord modified_time(const char* path) {
  DirectoryListing listing;
  DirectoryEntry entry;
  if (!listing.find_first(path, entry)) return FileTimeRecord();
  return entry.last_write_time;
}

void sort_by_modified_time(Vector<String>& paths, bool oldest_first) {
  struct Dated {
    FileTimeRecord time;
    int32_t index;
  };
  // Each file is looked up once, not once per comparison.
  Vector<Dated> dated;
  dated.set_count(paths.count());
  for (int32_t i = 0; i < paths.count(); ++i) dated[i] = Dated{modified_time(paths[i].text()), i};
  dated.sort_by([oldest_first](const Dated& a, const Dated& b) {
    int32_t order = compare_file_times(a.time, b.time);
    if (oldest_first) return order;
    return order > 0 ? -1 : (order < 0 ? 1 : 0);
  });
  Vector<String> sorted;
  sorted.set_count(paths.count());
  for (int32_t i = 0; i < dated.count(); ++i) sorted[i] = static_cast<String&&>(paths[dated[i].index]);
  paths = static_cast<Vector<String>&&>(sorted);
}

}  // namespace core
