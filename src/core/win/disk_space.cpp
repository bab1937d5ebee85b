// Disk space and cluster size.
#include "core/win/disk_space.h"

#include "core/win/optional_functions.h"
#include "core/win/windows.h"

namespace core {

namespace {

bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

int64_t cluster_size(const char* path) {
  if (path == nullptr || !is_letter(path[0])) return -1;
  char root[4] = {path[0], ':', '\\', 0};
  DWORD sectors = 0, bytes = 0, free_clusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceA(root, &sectors, &bytes, &free_clusters, &clusters)) return -1;
  return static_cast<int64_t>(sectors) * bytes;
}

int64_t free_space(const char* path) {
  if (path == nullptr || !is_letter(path[0])) return -1;
  char root[4] = {path[0], ':', '\\', 0};
  int64_t free = 0, total = 0;
  return disk_space(root, free, total) ? free : -1;
}

bool disk_space(const char* root, int64_t& free, int64_t& total) {
  if (auto extended = optional_function<Optional::GetDiskFreeSpaceExA>()) {
    ULARGE_INTEGER available, all, all_free;
    if (extended(root, &available, &all, &all_free)) {
      free = static_cast<int64_t>(all_free.QuadPart);
      total = static_cast<int64_t>(all.QuadPart);
      return true;
    }
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
  }
  DWORD sectors = 0, bytes = 0, free_clusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceA(root, &sectors, &bytes, &free_clusters, &clusters)) return false;
  int64_t cluster = static_cast<int64_t>(sectors) * bytes;
  free = cluster * free_clusters;
  total = cluster * clusters;
  return true;
}

}  // namespace core
