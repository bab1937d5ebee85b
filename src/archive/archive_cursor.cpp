// ArchiveCursor: bounds-checked forward reads of the loaded archive data.
#include "archive/archive_cursor.h"

#include <string.h>

#include "archive/little_endian.h"

namespace archive {
namespace {
const uint8_t kNothing = 0;
}  // namespace

void ArchiveCursor::reset(const uint8_t* data, int64_t length) {
  const bool empty = data == nullptr || length <= 0;
  data_ = empty ? &kNothing : data;
  length_ = empty ? 0 : length;
  position_ = 0;
}

bool ArchiveCursor::read_u32(uint32_t& value) {
  if (remaining() < 4) return false;
  value = load_u32(current());
  position_ += 4;
  return true;
}

bool ArchiveCursor::read_i32(int32_t& value) {
  uint32_t raw = 0;
  if (!read_u32(raw)) return false;
  value = static_cast<int32_t>(raw);
  return true;
}

bool ArchiveCursor::read_cstring(core::String& text) {
  text.clear();
  const void* end = memchr(current(), 0, static_cast<size_t>(remaining()));
  if (end == nullptr) return false;
  const int64_t n = static_cast<const uint8_t*>(end) - current();
  if (n > 0x7FFFFFFE) return false;
  text.append(reinterpret_cast<const char*>(current()), static_cast<int32_t>(n));
  position_ += n + 1;
  return true;
}

bool ArchiveCursor::read_bytes(int64_t n, void* target) {
  if (n < 0 || n > remaining() || (n > 0 && target == nullptr)) return false;
  if (n > 0) memcpy(target, current(), static_cast<size_t>(n));
  position_ += n;
  return true;
}

bool ArchiveCursor::skip(int64_t n) {
  if (n < 0 || n > remaining()) return false;
  position_ += n;
  return true;
}

}  // namespace archive
