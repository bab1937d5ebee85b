// The archive cursor: reads the loaded archive data (the file table) forward, never past its end.
#pragma once

#include <stdint.h>

#include "core/string.h"

namespace archive {

// A read position over bytes owned by someone else (the loaded archive data). Every read
// is checked against the end: a read that does not fit returns false and leaves the
// position where it was, so a damaged table cannot make the reader wander off. Which
// corrupt-installer code an overrun means is for the reader of the record to say.
class ArchiveCursor {
 public:
  ArchiveCursor() = default;
  ArchiveCursor(const uint8_t* data, int64_t length) { reset(data, length); }

  // Starts over on other bytes (a negative length or null data counts as empty).
  void reset(const uint8_t* data, int64_t length);

  int64_t position() const { return position_; }
  int64_t length() const { return length_; }
  int64_t remaining() const { return length_ - position_; }
  bool at_end() const { return position_ >= length_; }
  // The bytes at the position (file data is written from here without a copy).
  const uint8_t* current() const { return data_ + position_; }

  // A 32-bit little-endian value.
  bool read_u32(uint32_t& value);
  bool read_i32(int32_t& value);
  // The zero-terminated text at the position; the position moves past its zero byte.
  // False (text cleared) when no zero byte comes before the end.
  bool read_cstring(core::String& text);
  // Copies n bytes to target (n == 0: true; n < 0: false).
  bool read_bytes(int64_t n, void* target);
  // Moves past n bytes without copying them.
  bool skip(int64_t n);

 private:
  const uint8_t* data_ = nullptr;
  int64_t length_ = 0;
  int64_t position_ = 0;
};

}  // namespace archive
