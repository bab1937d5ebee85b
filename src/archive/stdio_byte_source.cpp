// StdioByteSource: positioned reads with the C library's 64-bit seek.
#include "archive/stdio_byte_source.h"

namespace archive {
namespace {

int seek64(FILE* file, int64_t offset, int whence) {
#if defined(_WIN32)
  return _fseeki64(file, offset, whence);
#else
  return fseeko(file, static_cast<off_t>(offset), whence);
#endif
}

int64_t tell64(FILE* file) {
#if defined(_WIN32)
  return _ftelli64(file);
#else
  return static_cast<int64_t>(ftello(file));
#endif
}

}  // namespace

StdioByteSource::~StdioByteSource() { close(); }

bool StdioByteSource::open(const char* path) {
  close();
  if (path == nullptr) return false;
  return adopt(fopen(path, "rb"));
}

#if defined(_WIN32)
bool StdioByteSource::open(const wchar_t* path) {
  close();
  if (path == nullptr) return false;
  return adopt(_wfopen(path, L"rb"));
}
#endif

bool StdioByteSource::adopt(FILE* file) {
  file_ = file;
  if (file_ == nullptr) return false;
  if (seek64(file_, 0, SEEK_END) != 0 || (size_ = tell64(file_)) < 0) {
    close();
    return false;
  }
  return true;
}

void StdioByteSource::close() {
  if (file_ != nullptr) fclose(file_);
  file_ = nullptr;
  size_ = -1;
}

bool StdioByteSource::read_at(int64_t offset, void* buf, int n) {
  if (file_ == nullptr || !range_within(offset, n, size_)) return false;
  if (n == 0) return true;
  if (seek64(file_, offset, SEEK_SET) != 0) return false;
  return fread(buf, 1, static_cast<size_t>(n), file_) == static_cast<size_t>(n);
}

}  // namespace archive
