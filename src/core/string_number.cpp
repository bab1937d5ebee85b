// Text to number: to_int, to_int64, parse_int, parse_int_flags, to_bool.
#include <string.h>

#include "core/string.h"

namespace core {

namespace {

// atoi over text with every ',' left out: an optional sign, then digits; the result is
// held within [low, high].
int64_t read_decimal_without_commas(const char* p, int64_t low, int64_t high) {
  while (*p == ',') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  int64_t value = 0;
  for (;; ++p) {
    if (*p == ',') continue;
    if (!ascii::is_digit(*p)) break;
    const int digit = *p - '0';
    // Saturate instead of overflowing, in the direction of the sign.
    if (negative) {
      value = value < (low + digit) / 10 ? low : value * 10 - digit;
    } else {
      value = value > (high - digit) / 10 ? high : value * 10 + digit;
    }
  }
  return value;
}

// The first digit, '+', '-' or '.', or null.
const char* number_start(const char* text) {
  if (text == nullptr) return nullptr;
  for (const char* p = text; *p != 0; ++p) {
    if (ascii::is_digit(*p) || *p == '+' || *p == '-' || *p == '.') return p;
  }
  return nullptr;
}

}  // namespace

int32_t to_int(const char* text) {
  const char* p = number_start(text);
  return p == nullptr ? 0 : static_cast<int32_t>(read_decimal_without_commas(p, INT32_MIN, INT32_MAX));
}

int64_t to_int64(const char* text) {
  const char* p = number_start(text);
  return p == nullptr ? 0 : read_decimal_without_commas(p, INT64_MIN, INT64_MAX);
}

int32_t String::parse_int(int32_t& position) const {
  if (position < 0 || position >= length_) return INT32_MIN;
  int32_t p = position;
  bool negative = false;
  if (buffer_[p] == '+' || buffer_[p] == '-') {
    negative = buffer_[p] == '-';
    ++p;
  }
  if (p >= length_ || !ascii::is_digit(buffer_[p])) return 0;
  int64_t value = 0;
  while (p < length_ && ascii::is_digit(buffer_[p])) {
    if (value <= INT32_MAX) value = value * 10 + (buffer_[p] - '0');
    ++p;
  }
  if (negative) value = -value;
  position = p;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

int32_t parse_int_flags(const char*& cursor, uint32_t flags) {
  const int32_t none = (flags & parse_flag::MinWhenNone) ? INT32_MIN : 0;
  if (cursor == nullptr) return none;
  const char* p = cursor;
  if (flags & parse_flag::SkipLeadingSpaces) {
    while (*p == ' ') ++p;
  }
  bool negative = false;
  if (!(flags & parse_flag::NoSign) && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }
  if (!ascii::is_digit(*p)) return none;
  int64_t value = 0;
  for (; ascii::is_digit(*p); ++p) {
    if (value <= INT32_MAX) value = value * 10 + (*p - '0');
  }
  if (negative) value = -value;
  if (flags & parse_flag::SkipTrailingSpaces) {
    while (*p == ' ') ++p;
  }
  if ((flags & parse_flag::SkipComma) && *p == ',') {
    ++p;
    if (flags & parse_flag::SkipTrailingSpaces) {
      while (*p == ' ') ++p;
    }
  }
  cursor = p;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

bool to_bool(const char* text) {
  String t(text);
  t.trim();
  if (t.is_empty() || t == "0") return false;
  static const char* const falsehoods[] = {"n", "no", "f", "false"};
  for (const char* word : falsehoods) {
    if (t.equals(word, false) == 0) return false;
  }
  return true;
}

}  // namespace core
