// The library's typed value: one value of a fixed set of kinds (numbers, text, dates),
// in which registry values are read and written, with its conversions.
#pragma once

#include <stdint.h>

#include "core/calendar.h"
#include "core/string.h"

namespace core {

// The kinds, numbered as the library stores them.
enum class ValueKind : int {
  Empty = 0,
  Bool = 1,
  Int8 = 2,
  UInt8 = 3,
  Int16 = 4,
  UInt16 = 5,
  Int32 = 6,
  UInt32 = 7,
  Int64 = 8,
  UInt64 = 9,
  Real32 = 10,  // held as a double
  Real64 = 11,
  Text = 12,
  Date = 13,
  DateTime = 14,
  Time = 15,
  UInt32Other = 16,  // a second unsigned 32-bit kind, converted like UInt32
};

// A value of one kind. Integer kinds hold their value widened to 64 bits (signed kinds
// sign-extended, unsigned ones zero-extended); text may hold any bytes, NULs included.
class TypedValue {
 public:
  TypedValue() = default;

  static TypedValue from_bool(bool value);
  // An integer of one of the integer kinds (Bool to UInt64 or UInt32Other); the value is
  // narrowed to the kind's width and widened back, as the kind stores it.
  static TypedValue from_integer(ValueKind kind, int64_t value);
  static TypedValue from_int32(int32_t value) { return from_integer(ValueKind::Int32, value); }
  static TypedValue from_real(double value, bool single = false);
  static TypedValue from_text(const char* text);
  static TypedValue from_bytes(const char* bytes, int32_t count);
  // kind is Date, DateTime or Time; the fields the kind does not use are ignored.
  static TypedValue from_date(ValueKind kind, const DateTime& date);

  ValueKind kind() const { return kind_; }
  bool is_empty() const { return kind_ == ValueKind::Empty; }
  // Bool, the signed and unsigned integer kinds.
  bool is_integer() const;
  bool is_real() const { return kind_ == ValueKind::Real32 || kind_ == ValueKind::Real64; }
  bool is_text() const { return kind_ == ValueKind::Text; }
  bool is_date() const;
  // Empty, a number 0, an empty text, or a date kind with neither a date nor a time.
  bool is_zero_or_empty() const;

  // Back to empty.
  void clear();

  // The value as an integer: integers as held, reals truncated, texts through to_int,
  // dates 0.
  int64_t as_int64() const;
  int32_t as_int() const { return static_cast<int32_t>(as_int64()); }
  // Numbers: not zero; texts: to_bool; empty and dates: false.
  bool as_bool() const;
  // The text form: integers in decimal, reals with up to six decimals and no trailing
  // zeros, booleans 1 or 0, date kinds as date_time_display_text shows them ("m/d/yy
  // HH:ii:ss", only the valid part), empty: "".
  String as_text() const;

  // The text of a Text value (empty for the other kinds).
  const String& text() const { return text_; }
  // The date and time of a date kind (a Date has no time, a Time no date).
  const DateTime& date() const { return date_; }
  // Makes the value an empty Text and hands out its text for filling in place.
  String& text_for_writing();

 private:
  ValueKind kind_ = ValueKind::Empty;
  int64_t integer_ = 0;
  double real_ = 0;
  String text_;
  DateTime date_;
};

}  // namespace core
