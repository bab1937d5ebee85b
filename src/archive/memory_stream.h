// The header block's value stream: little-endian values, texts and byte blocks over a byte buffer.
#pragma once

#include <stdint.h>

#include "core/calendar.h"
#include "core/file_time.h"
#include "core/string.h"

namespace archive {

// A read/write position over a byte buffer that the stream owns (a `core::String` used
// as bytes). Writes store at the position and lengthen the buffer past its end. All
// values are little-endian, without alignment or padding.
//
// Reads never run past the end. A read that wants more bytes than remain copies what is
// left, zero-fills the rest of its target, leaves the position at the end, returns false
// and sets the sticky `overrun` flag; readers of whole structures test that flag instead
// of every result. Failed text and block reads leave their `String` empty or unchanged
// (see each operation).
class MemoryStream {
 public:
  // An empty, owning, writable stream.
  MemoryStream() = default;
  // An owning stream over a copy of `size` bytes (none when `bytes` is null).
  MemoryStream(const void* bytes, int32_t size);
  // A stream that takes over `buffer`'s bytes (the decompressed header block); `buffer`
  // is left empty.
  explicit MemoryStream(core::String&& buffer);

  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;

  int32_t position() const { return position_; }
  int32_t size() const { return size_; }
  int32_t remaining() const { return size_ - position_; }
  bool at_end() const { return position_ >= size_; }
  // The bytes of the stream (never null); valid until the next write.
  const uint8_t* data() const { return reinterpret_cast<const uint8_t*>(buffer_.text()); }
  // Moves the position; false (position unchanged) outside 0..size.
  bool seek(int32_t position);
  // True once any read has wanted bytes beyond the end.
  bool overrun() const { return overrun_; }
  void clear_overrun() { overrun_ = false; }
  // Runs the stream out as a read past the end would: position at the end, `overrun` set.
  void exhaust();
  // The bytes as a `String`; the stream is left empty.
  core::String take_buffer();

  // --- Reading ---
  // Copies n bytes to target. n == 0: true; n < 0 or a null target: false, nothing read.
  bool read(void* target, int32_t n);
  bool read_u8(uint8_t& value);
  bool read_u16(uint16_t& value);
  bool read_i32(int32_t& value);
  bool read_u32(uint32_t& value);
  // Two consecutive 32-bit words.
  bool read_flag_words(uint32_t& first, uint32_t& second);
  // The 24-byte file time record and the 20-byte calendar date: six and five i32 fields.
  bool read_file_time(core::FileTime& time);
  bool read_calendar_date(core::CalendarDate& date);
  // A zero-terminated text. The string is cleared first; false only when not even one
  // byte could be read. A text cut short by the end keeps what was read, returns true
  // and sets `overrun`.
  bool read_text(core::String& text);
  // A text preceded by its length in 1, 2 or 4 bytes (the 4-byte length is signed; a
  // negative one is false). On failure the string is empty.
  bool read_text8(core::String& text);
  bool read_text16(core::String& text);
  bool read_text32(core::String& text);
  // Appends n bytes to the string. n <= 0: true, nothing read. On failure the string
  // keeps its former length.
  bool read_byte_block(core::String& text, int32_t n);
  // Steps over n bytes without copying them, with the short-read rules of `read`.
  bool skip(int32_t n);

  // --- Writing: each the exact inverse of the read of the same name ---
  // Stores n bytes at the position, lengthening the buffer past the end. False for
  // n < 0, a null source with n > 0, or a stream that would pass 2^31 - 1 bytes.
  bool write(const void* bytes, int32_t n);
  bool write_u8(uint8_t value);
  bool write_u16(uint16_t value);
  bool write_i32(int32_t value);
  bool write_u32(uint32_t value);
  bool write_flag_words(uint32_t first, uint32_t second);
  bool write_file_time(const core::FileTime& time);
  bool write_calendar_date(const core::CalendarDate& date);
  // The text's bytes and a zero byte. False (nothing written) when the text holds a zero
  // byte, which would end it early on reading.
  bool write_text(const core::String& text);
  // Length then bytes; false (nothing written) when the length does not fit the prefix.
  bool write_text8(const core::String& text);
  bool write_text16(const core::String& text);
  bool write_text32(const core::String& text);
  bool write_byte_block(const core::String& bytes);

 private:
  // Written streams grow the buffer ahead of the data: its first size_ bytes are the stream.
  core::String buffer_;
  int32_t size_ = 0;
  int32_t position_ = 0;
  bool overrun_ = false;
};

}  // namespace archive
