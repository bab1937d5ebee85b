// Disk space and cluster size of a drive.
#pragma once

#include <stdint.h>

namespace core {

// Bytes per cluster of the drive whose letter starts path; -1 when path does not start
// with a letter or the system cannot tell.
int64_t cluster_size(const char* path);

// Free bytes on the drive whose letter starts path; -1 when path does not start with a
// letter or the query fails.
int64_t free_space(const char* path);

// Free and total bytes of the disk at root ("C:\"). Free is all free space on the disk,
// not the caller's quota. Uses GetDiskFreeSpaceExA where the system has it and the older
// cluster-count query otherwise. False with the outputs untouched on failure.
bool disk_space(const char* root, int64_t& free, int64_t& total);

}  // namespace core
