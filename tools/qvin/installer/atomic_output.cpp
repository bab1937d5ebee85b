// Temporary file + rename: the target appears whole or not at all.
#include "qvin/installer/atomic_output.h"

#include <system_error>

#include "qvin/project/errors.h"

namespace qvin {

AtomicOutput::AtomicOutput(std::filesystem::path target) : target_(std::move(target)) {
  const std::filesystem::path dir = target_.parent_path().empty() ? "." : target_.parent_path();
  if (!file_.create_unique(dir, "." + target_.filename().string() + ".tmp-"))
    throw ProjectError(target_.string() + ": cannot create a file in \"" + dir.string() + "\": " + file_.error());
  temporary_ = file_.path();
}

AtomicOutput::~AtomicOutput() {
  if (file_.is_open()) file_.close();
  if (!committed_ && !temporary_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
  }
}

void AtomicOutput::write(std::string_view bytes) {
  if (!file_.write(bytes)) throw ProjectError(target_.string() + ": cannot write: " + file_.error());
}

void AtomicOutput::commit() {
  if (!file_.flush_to_disk() || !file_.close()) {
    if (file_.is_open()) file_.close();
    throw ProjectError(target_.string() + ": cannot write: " + file_.error());
  }
  std::string why;
  if (!platform::replace_file(temporary_, target_, why))
    throw ProjectError(target_.string() + ": cannot replace: " + why);
  committed_ = true;
}

}  // namespace qvin
