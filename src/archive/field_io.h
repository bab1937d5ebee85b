// The two sides of a record's field list: each record's `transfer(io, record)` template names
// its fields once; with a FieldReader it reads and checks them, with a FieldWriter it writes them.
#pragma once

#include <stdint.h>

#include "archive/corrupt_code.h"
#include "archive/memory_stream.h"
#include "core/array.h"
#include "core/date.h"
#include "core/string.h"

namespace archive {

// Reads fields and stops at the first failed check. A read past the end of the stream
// is reported, at the next check or at `finish`, as `overrun_code`: a value made partly
// of the stream's zero fill is never judged.
class FieldReader {
 public:
  static constexpr bool kReading = true;

  FieldReader(MemoryStream& stream, CorruptCode overrun_code) : stream_(stream), overrun_code_(overrun_code) {}

  void u8(uint8_t& value) { stream_.read_u8(value); }
  void u16(uint16_t& value) { stream_.read_u16(value); }
  void i32(int32_t& value) { stream_.read_i32(value); }
  void u32(uint32_t& value) { stream_.read_u32(value); }
  void file_time(core::FileTime& value) { stream_.read_file_time(value); }
  void calendar_date(core::CalendarDate& value) { stream_.read_calendar_date(value); }
  void text(core::String& value) { stream_.read_text(value); }
  void text32(core::String& value) { stream_.read_text32(value); }
  // n bytes (none when n <= 0) become the value.
  void byte_block(core::String& value, int32_t n) {
    value.clear();
    stream_.read_byte_block(value, n);
  }

  // True when the transfer must stop: the stream ran out, or `ok` is false (then
  // `code` is the result).
  bool stop_unless(bool ok, CorruptCode code) {
    if (stream_.overrun()) return stop(overrun_code_);
    if (!ok) return stop(code);
    return false;
  }

  // True when the transfer must stop with `code`, the result of a part read elsewhere.
  bool stop_with(CorruptCode code) { return code != CorruptCode::None && stop(code); }

  // Before reading `count` elements of at least `min_bytes` each: true (stop, as an
  // overrun) when they cannot fit in what remains, so a damaged count never sizes a big
  // list; otherwise the list holds `count` default elements.
  template <class T>
  bool make_room(core::Array<T>& list, int32_t count, int32_t min_bytes) {
    if (static_cast<int64_t>(count) * min_bytes > stream_.remaining()) {
      stream_.exhaust();
      return stop(overrun_code_);
    }
    list.clear();
    list.set_count(count);
    return false;
  }

  // The result once every field has been transferred: the overrun code or None.
  CorruptCode finish() { return stream_.overrun() ? overrun_code_ : code_; }
  CorruptCode result() const { return code_; }
  MemoryStream& stream() { return stream_; }

 private:
  bool stop(CorruptCode code) {
    code_ = code;
    return true;
  }

  MemoryStream& stream_;
  CorruptCode overrun_code_;
  CorruptCode code_ = CorruptCode::None;
};

// Writes fields as they are, never stopping, and keeps the first check that reading
// them back would fail; a value the stream cannot hold counts as `unfit_code`.
class FieldWriter {
 public:
  static constexpr bool kReading = false;

  FieldWriter(MemoryStream& stream, CorruptCode unfit_code) : stream_(stream), unfit_code_(unfit_code) {}

  void u8(uint8_t& value) { fit(stream_.write_u8(value)); }
  void u16(uint16_t& value) { fit(stream_.write_u16(value)); }
  void i32(int32_t& value) { fit(stream_.write_i32(value)); }
  void u32(uint32_t& value) { fit(stream_.write_u32(value)); }
  void file_time(core::FileTime& value) { fit(stream_.write_file_time(value)); }
  void calendar_date(core::CalendarDate& value) { fit(stream_.write_calendar_date(value)); }
  void text(core::String& value) { fit(stream_.write_text(value)); }
  void text32(core::String& value) { fit(stream_.write_text32(value)); }
  // The value's bytes; `n` (its length, written before) is not needed here.
  void byte_block(core::String& value, int32_t) { fit(stream_.write_byte_block(value)); }

  bool stop_unless(bool ok, CorruptCode code) {
    if (!ok) note(code);
    return false;
  }
  bool stop_with(CorruptCode code) {
    if (code != CorruptCode::None) note(code);
    return false;
  }
  template <class T>
  bool make_room(core::Array<T>&, int32_t, int32_t) {
    return false;
  }
  // Marks a value that cannot be stored so that it reads back the same.
  void unfit() { note(unfit_code_); }

  CorruptCode finish() const { return code_; }
  CorruptCode result() const { return code_; }
  MemoryStream& stream() { return stream_; }

 private:
  void fit(bool written) {
    if (!written) note(unfit_code_);
  }
  void note(CorruptCode code) {
    if (code_ == CorruptCode::None) code_ = code;
  }

  MemoryStream& stream_;
  CorruptCode unfit_code_;
  CorruptCode code_ = CorruptCode::None;
};

}  // namespace archive
