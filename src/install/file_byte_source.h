// The archive readers' byte source over the File object: how the stub reads its own
// executable and the volume files.
#pragma once

#include <stdint.h>

#include "archive/byte_source.h"
#include "core/win/file.h"

namespace install {

// Reads an open File by offset. The caller opens the file (and reports the open result)
// and keeps it open while the source is used; the file's position moves with each read.
class FileByteSource final : public archive::ByteSource {
 public:
  explicit FileByteSource(core::File& file) : file_(file) {}

  // The file's size; -1 when it is not open.
  int64_t size() override { return file_.size(); }
  // Exactly n bytes from offset; false when the range is not wholly inside the file or
  // the read fails (the File object keeps the error text).
  bool read_at(int64_t offset, void* buf, int n) override;

 private:
  core::File& file_;
};

}  // namespace install
