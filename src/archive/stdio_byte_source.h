// A byte source over a file opened with the C library, for host tools and tests.
#pragma once

#include <stdint.h>
#include <stdio.h>

#include "archive/byte_source.h"

namespace archive {

// Reads a file through <stdio.h>. The stub uses its own File object instead; this one
// serves the host tool, tests and the fuzzer.
class StdioByteSource : public ByteSource {
 public:
  StdioByteSource() = default;
  ~StdioByteSource() override;
  StdioByteSource(const StdioByteSource&) = delete;
  StdioByteSource& operator=(const StdioByteSource&) = delete;

  // Opens path for reading (closing a file already open); false when it cannot be opened.
  bool open(const char* path);
#if defined(_WIN32)
  // The same for a wide (UTF-16) path: the narrow one is read in the ANSI code page.
  bool open(const wchar_t* path);
#endif
  void close();
  bool is_open() const { return file_ != nullptr; }

  // The file's size, measured when it was opened; -1 when none is open.
  int64_t size() override { return size_; }
  bool read_at(int64_t offset, void* buf, int n) override;

 private:
  bool adopt(FILE* file);
  FILE* file_ = nullptr;
  int64_t size_ = -1;
};

}  // namespace archive
