// Byte sources over memory and over a window of another source.
#include "archive/byte_source.h"

#include <string.h>

namespace archive {

bool MemoryByteSource::read_at(int64_t offset, void* buf, int n) {
  if (!range_within(offset, n, size_)) return false;
  if (n > 0) memcpy(buf, data_ + offset, static_cast<size_t>(n));
  return true;
}

const uint8_t* MemoryByteSource::view(int64_t offset, int64_t n) {
  return range_within(offset, n, size_) ? data_ + offset : nullptr;
}

bool SliceByteSource::read_at(int64_t offset, void* buf, int n) {
  if (!range_within(offset, n, length_)) return false;
  return base_.read_at(start_ + offset, buf, n);
}

const uint8_t* SliceByteSource::view(int64_t offset, int64_t n) {
  if (!range_within(offset, n, length_)) return nullptr;
  return base_.view(start_ + offset, n);
}

}  // namespace archive
