// Output files written under a temporary name and renamed into place only on success.
#pragma once

#include <filesystem>
#include <string_view>

#include "qvin/platform/output_file.h"

namespace qvin {

// A file being written: bytes go to a temporary file in the target's directory; `commit`
// renames it over the target. Destroyed uncommitted, it removes the temporary file, so a
// failed build leaves nothing behind and never truncates an existing target.
class AtomicOutput {
 public:
  // Creates the temporary file. Throws ProjectError when the directory is not writable.
  explicit AtomicOutput(std::filesystem::path target);
  ~AtomicOutput();
  AtomicOutput(const AtomicOutput&) = delete;
  AtomicOutput& operator=(const AtomicOutput&) = delete;

  // Appends bytes; throws ProjectError on a write failure (disk full...).
  void write(std::string_view bytes);
  // Flushes, closes and renames into place; throws ProjectError on failure.
  void commit();

  const std::filesystem::path& target() const { return target_; }
  const std::filesystem::path& temporary() const { return temporary_; }

 private:
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  platform::OutputFile file_;
  bool committed_ = false;
};

}  // namespace qvin
