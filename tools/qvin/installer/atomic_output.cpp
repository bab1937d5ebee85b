// Temporary file + rename: the target appears whole or not at all.
#include "qvin/installer/atomic_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "qvin/project/errors.h"

namespace qvin {

AtomicOutput::AtomicOutput(std::filesystem::path target) : target_(std::move(target)) {
  const std::filesystem::path dir = target_.parent_path().empty() ? "." : target_.parent_path();
  std::string pattern = (dir / ("." + target_.filename().string() + ".tmp-XXXXXX")).string();
  fd_ = ::mkstemp(pattern.data());
  if (fd_ < 0)
    throw ProjectError(target_.string() + ": cannot create a file in \"" + dir.string() + "\": " +
                       std::strerror(errno));
  temporary_ = pattern;
  // mkstemp makes the file private; an installer is an ordinary file.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd_, 0666 & ~mask);
}

AtomicOutput::~AtomicOutput() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

void AtomicOutput::write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      throw ProjectError(target_.string() + ": cannot write: " + std::strerror(n < 0 ? errno : EIO));
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

void AtomicOutput::commit() {
  if (::fsync(fd_) != 0 || ::close(fd_) != 0) {
    fd_ = -1;
    throw ProjectError(target_.string() + ": cannot write: " + std::strerror(errno));
  }
  fd_ = -1;
  if (std::rename(temporary_.c_str(), target_.c_str()) != 0)
    throw ProjectError(target_.string() + ": cannot replace: " + std::strerror(errno));
  committed_ = true;
}

}  // namespace qvin
