// The header block's value stream: little-endian values, texts and byte blocks over a byte buffer.
#include "archive/memory_stream.h"

#include <string.h>

#include "archive/little_endian.h"

namespace archive {

namespace {

constexpr int32_t kMaxSize = 0x7FFFFFFF;

}  // namespace

MemoryStream::MemoryStream(const void* bytes, int32_t size) {
  if (bytes != nullptr && size > 0) {
    buffer_.append(static_cast<const char*>(bytes), size);
    size_ = buffer_.length();
  }
}

MemoryStream::MemoryStream(core::String&& buffer)
    : buffer_(static_cast<core::String&&>(buffer)), size_(buffer_.length()) {}

bool MemoryStream::seek(int32_t position) {
  if (position < 0 || position > size()) return false;
  position_ = position;
  return true;
}

void MemoryStream::exhaust() {
  position_ = size();
  overrun_ = true;
}

core::String MemoryStream::take_buffer() {
  buffer_.truncate(size_);
  core::String taken(static_cast<core::String&&>(buffer_));
  buffer_ = core::String();
  size_ = 0;
  position_ = 0;
  return taken;
}

// --- Reading ---

bool MemoryStream::read(void* target, int32_t n) {
  if (n < 1) return n == 0;
  if (target == nullptr) return false;
  // 64-bit sum: a position near 2^31 plus a large n must not wrap past the check.
  if (static_cast<int64_t>(position_) + n <= size()) {
    memcpy(target, data() + position_, static_cast<size_t>(n));
    position_ += n;
    return true;
  }
  const int32_t left = remaining();
  if (left > 0) memcpy(target, data() + position_, static_cast<size_t>(left));
  memset(static_cast<uint8_t*>(target) + left, 0, static_cast<size_t>(n - left));
  exhaust();
  return false;
}

bool MemoryStream::read_u8(uint8_t& value) { return read(&value, 1); }

bool MemoryStream::read_u16(uint16_t& value) {
  uint8_t bytes[2];
  const bool ok = read(bytes, 2);
  value = load_u16(bytes);
  return ok;
}

bool MemoryStream::read_i32(int32_t& value) {
  uint8_t bytes[4];
  const bool ok = read(bytes, 4);
  value = load_i32(bytes);
  return ok;
}

bool MemoryStream::read_u32(uint32_t& value) {
  uint8_t bytes[4];
  const bool ok = read(bytes, 4);
  value = load_u32(bytes);
  return ok;
}

bool MemoryStream::read_flag_words(uint32_t& first, uint32_t& second) {
  uint8_t bytes[8];
  const bool ok = read(bytes, 8);
  first = load_u32(bytes);
  second = load_u32(bytes + 4);
  return ok;
}

bool MemoryStream::read_file_time(core::FileTime& time) {
  uint8_t bytes[24];
  const bool ok = read(bytes, 24);
  time.year = load_i32(bytes);
  time.month = load_i32(bytes + 4);
  time.day = load_i32(bytes + 8);
  time.hour = load_i32(bytes + 12);
  time.minute = load_i32(bytes + 16);
  time.second = load_i32(bytes + 20);
  return ok;
}

bool MemoryStream::read_calendar_date(core::CalendarDate& date) {
  uint8_t bytes[20];
  const bool ok = read(bytes, 20);
  date.day_number = load_i32(bytes);
  date.month = load_i32(bytes + 4);
  date.day = load_i32(bytes + 8);
  date.year = load_i32(bytes + 12);
  date.weekday = load_i32(bytes + 16);
  return ok;
}

bool MemoryStream::read_text(core::String& text) {
  text.clear();
  if (at_end()) {
    exhaust();
    return false;
  }
  // The text up to its zero byte, appended in one piece.
  const uint8_t* start = data() + position_;
  const int32_t left = remaining();
  const void* zero = memchr(start, 0, static_cast<size_t>(left));
  if (zero == nullptr) {
    text.append(reinterpret_cast<const char*>(start), left);
    exhaust();
    return true;
  }
  const int32_t n = static_cast<int32_t>(static_cast<const uint8_t*>(zero) - start);
  text.append(reinterpret_cast<const char*>(start), n);
  position_ += n + 1;
  return true;
}

namespace {

// Reads `length` bytes as the whole text; on failure the text is empty.
bool read_counted(MemoryStream& stream, core::String& text, int64_t length) {
  text.clear();
  if (length == 0) return true;
  if (length > stream.remaining()) {
    // Nothing is allocated for a length the stream cannot hold.
    stream.exhaust();
    return false;
  }
  return stream.read_byte_block(text, static_cast<int32_t>(length));
}

}  // namespace

bool MemoryStream::read_text8(core::String& text) {
  uint8_t length = 0;
  if (!read_u8(length)) {
    text.clear();
    return false;
  }
  return read_counted(*this, text, length);
}

bool MemoryStream::read_text16(core::String& text) {
  uint16_t length = 0;
  if (!read_u16(length)) {
    text.clear();
    return false;
  }
  return read_counted(*this, text, length);
}

bool MemoryStream::read_text32(core::String& text) {
  int32_t length = 0;
  if (!read_i32(length) || length < 0) {
    text.clear();
    return false;
  }
  return read_counted(*this, text, length);
}

bool MemoryStream::read_byte_block(core::String& text, int32_t n) {
  if (n <= 0) return true;
  if (n > remaining()) {
    exhaust();
    return false;
  }
  text.append(reinterpret_cast<const char*>(data() + position_), n);
  position_ += n;
  return true;
}

bool MemoryStream::skip(int32_t n) {
  if (n < 1) return n == 0;
  if (n > remaining()) {
    exhaust();
    return false;
  }
  position_ += n;
  return true;
}

// --- Writing ---

bool MemoryStream::write(const void* bytes, int32_t n) {
  if (n < 1) return n == 0;
  if (bytes == nullptr || static_cast<int64_t>(position_) + n > kMaxSize) return false;
  const int32_t end = position_ + n;
  if (end > buffer_.length()) {
    const char* source = static_cast<const char*>(bytes);
    if (source >= buffer_.text() && source < buffer_.text() + buffer_.length()) {
      // Our own bytes would move with the buffer: copy them out first.
      core::String copy;
      copy.append(source, n);
      return write(copy.text(), n);
    }
    // Grow by half again, so a block written value by value is not copied each time.
    int64_t room = static_cast<int64_t>(buffer_.length()) * 3 / 2 + 64;
    if (room < end) room = end;
    if (room > kMaxSize) room = kMaxSize;
    if (!buffer_.try_set_length(static_cast<int32_t>(room))) return false;
  }
  memmove(buffer_.data() + position_, bytes, static_cast<size_t>(n));
  position_ = end;
  // The position never lies past the end, so the copy filled every byte up to it.
  if (end > size_) size_ = end;
  return true;
}

bool MemoryStream::write_u8(uint8_t value) { return write(&value, 1); }

bool MemoryStream::write_u16(uint16_t value) {
  uint8_t bytes[2];
  store_u16(bytes, value);
  return write(bytes, 2);
}

bool MemoryStream::write_i32(int32_t value) {
  uint8_t bytes[4];
  store_i32(bytes, value);
  return write(bytes, 4);
}

bool MemoryStream::write_u32(uint32_t value) {
  uint8_t bytes[4];
  store_u32(bytes, value);
  return write(bytes, 4);
}

bool MemoryStream::write_flag_words(uint32_t first, uint32_t second) {
  uint8_t bytes[8];
  store_u32(bytes, first);
  store_u32(bytes + 4, second);
  return write(bytes, 8);
}

bool MemoryStream::write_file_time(const core::FileTime& time) {
  uint8_t bytes[24];
  store_i32(bytes, time.year);
  store_i32(bytes + 4, time.month);
  store_i32(bytes + 8, time.day);
  store_i32(bytes + 12, time.hour);
  store_i32(bytes + 16, time.minute);
  store_i32(bytes + 20, time.second);
  return write(bytes, 24);
}

bool MemoryStream::write_calendar_date(const core::CalendarDate& date) {
  uint8_t bytes[20];
  store_i32(bytes, date.day_number);
  store_i32(bytes + 4, date.month);
  store_i32(bytes + 8, date.day);
  store_i32(bytes + 12, date.year);
  store_i32(bytes + 16, date.weekday);
  return write(bytes, 20);
}

bool MemoryStream::write_text(const core::String& text) {
  if (memchr(text.text(), 0, static_cast<size_t>(text.length())) != nullptr) return false;
  // One write of the text and its terminator (text() is zero-terminated).
  return write(text.text(), text.length() + 1);
}

namespace {

bool write_counted(MemoryStream& stream, const core::String& text, int width) {
  uint8_t prefix[4];
  store_u32(prefix, static_cast<uint32_t>(text.length()));
  const int32_t start = stream.position();
  if (stream.write(prefix, width) && stream.write(text.text(), text.length())) return true;
  stream.seek(start);
  return false;
}

}  // namespace

bool MemoryStream::write_text8(const core::String& text) {
  return text.length() <= 0xFF && write_counted(*this, text, 1);
}

bool MemoryStream::write_text16(const core::String& text) {
  return text.length() <= 0xFFFF && write_counted(*this, text, 2);
}

bool MemoryStream::write_text32(const core::String& text) { return write_counted(*this, text, 4); }

bool MemoryStream::write_byte_block(const core::String& bytes) { return write(bytes.text(), bytes.length()); }

}  // namespace archive
