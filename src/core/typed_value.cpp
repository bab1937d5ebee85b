// The library's typed value and its conversions.
#include "core/typed_value.h"

#include "core/date_format.h"

namespace core {

namespace {

// Decimal digits of a 64-bit magnitude, without the C library's varying "%lld" support.
void append_decimal(String& out, uint64_t magnitude, bool negative) {
  char digits[24];
  int at = sizeof(digits);
  do {
    digits[--at] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) digits[--at] = '-';
  out.append(digits + at, static_cast<int32_t>(sizeof(digits)) - at);
}

}  // namespace

TypedValue TypedValue::from_bool(bool value) { return from_integer(ValueKind::Bool, value ? 1 : 0); }

TypedValue TypedValue::from_integer(ValueKind kind, int64_t value) {
  TypedValue result;
  result.kind_ = kind;
  switch (kind) {
    case ValueKind::Bool: value = value != 0 ? 1 : 0; break;
    case ValueKind::Int8: value = static_cast<int8_t>(value); break;
    case ValueKind::UInt8: value = static_cast<uint8_t>(value); break;
    case ValueKind::Int16: value = static_cast<int16_t>(value); break;
    case ValueKind::UInt16: value = static_cast<uint16_t>(value); break;
    case ValueKind::Int32: value = static_cast<int32_t>(value); break;
    case ValueKind::UInt32:
    case ValueKind::UInt32Other: value = static_cast<uint32_t>(value); break;
    case ValueKind::Int64:
    case ValueKind::UInt64: break;
    default: result.kind_ = ValueKind::Int64; break;
  }
  result.integer_ = value;
  return result;
}

TypedValue TypedValue::from_real(double value, bool single) {
  TypedValue result;
  result.kind_ = single ? ValueKind::Real32 : ValueKind::Real64;
  result.real_ = single ? static_cast<double>(static_cast<float>(value)) : value;
  return result;
}

TypedValue TypedValue::from_text(const char* text) {
  TypedValue result;
  result.kind_ = ValueKind::Text;
  result.text_ = text != nullptr ? text : "";
  return result;
}

TypedValue TypedValue::from_bytes(const char* bytes, int32_t count) {
  TypedValue result;
  result.kind_ = ValueKind::Text;
  if (bytes != nullptr && count > 0) result.text_.append(bytes, count);
  return result;
}

TypedValue TypedValue::from_date(ValueKind kind, const DateTime& date) {
  TypedValue result;
  if (kind != ValueKind::Date && kind != ValueKind::DateTime && kind != ValueKind::Time) return result;
  result.kind_ = kind;
  result.date_ = date;
  if (kind == ValueKind::Date) result.date_.time.clear();
  if (kind == ValueKind::Time) result.date_.date.clear();
  return result;
}

bool TypedValue::is_integer() const {
  return (kind_ >= ValueKind::Bool && kind_ <= ValueKind::UInt64) || kind_ == ValueKind::UInt32Other;
}

bool TypedValue::is_date() const {
  return kind_ == ValueKind::Date || kind_ == ValueKind::DateTime || kind_ == ValueKind::Time;
}

bool TypedValue::is_zero_or_empty() const {
  if (kind_ == ValueKind::Empty) return true;
  if (is_integer()) return integer_ == 0;
  if (is_real()) return real_ == 0;
  if (is_text()) return text_.is_empty();
  return date_.date.month == 0 && date_.time.hour < 0;
}

void TypedValue::clear() { *this = TypedValue(); }

int64_t TypedValue::as_int64() const {
  if (is_integer()) return integer_;
  if (is_real()) return static_cast<int64_t>(real_);
  if (is_text()) return to_int(text_.text());
  return 0;
}

bool TypedValue::as_bool() const {
  if (is_integer()) return integer_ != 0;
  if (is_real()) return real_ != 0;
  if (is_text()) return to_bool(text_);
  return false;
}

String TypedValue::as_text() const {
  String out;
  if (is_integer()) {
    if (kind_ == ValueKind::UInt64) {
      append_decimal(out, static_cast<uint64_t>(integer_), false);
    } else {
      bool negative = integer_ < 0;
      append_decimal(out, negative ? 0 - static_cast<uint64_t>(integer_) : static_cast<uint64_t>(integer_), negative);
    }
  } else if (is_real()) {
    out = from_double(real_, -1);
  } else if (is_text()) {
    out = text_;
  } else if (is_date()) {
    out = date_time_display_text(date_);
  }
  return out;
}

String& TypedValue::text_for_writing() {
  if (kind_ != ValueKind::Text) {
    clear();
    kind_ = ValueKind::Text;
  }
  return text_;
}

}  // namespace core
