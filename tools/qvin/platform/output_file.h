// A file being written, on Linux and Windows alike: created anew (under a unique temporary
// name or replacing a file), written, stamped, flushed to the disk, and renamed over
// another. The halves are output_file_posix.inc and output_file_win.inc.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace qvin::platform {

// Every operation returns false on failure and keeps the system's reason in error().
// The destructor closes the file (without removing it).
class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // A new file in `directory` named `prefix` followed by a unique tail, readable by
  // everyone the directory lets read it.
  bool create_unique(const std::filesystem::path& directory, const std::string& prefix);
  // `path` created or emptied. A symbolic link at `path` is refused, not followed.
  bool create_replacing(const std::filesystem::path& path);

  bool write(std::string_view bytes);
  // Sets the modification (and access) time, in seconds since 1970 UTC.
  bool set_time(int64_t unix_seconds);
  // Waits until the written bytes are on the disk.
  bool flush_to_disk();
  bool close();

  bool is_open() const;
  const std::filesystem::path& path() const { return path_; }
  const std::string& error() const { return error_; }

 private:
  bool fail();
  std::filesystem::path path_;
  std::string error_;
  intptr_t handle_ = -1;  // a file descriptor, or a Windows HANDLE
};

// Renames `from` to `to`, replacing a file there in one step. Returns false with the
// system's reason in `why`.
bool replace_file(const std::filesystem::path& from, const std::filesystem::path& to, std::string& why);

}  // namespace qvin::platform
