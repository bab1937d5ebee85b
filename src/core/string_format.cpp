// printf-style formatting into Strings, and numbers as text: decimal, fixed-point, byte
// sizes, ordinal suffixes and ordinal words.
#include <stdio.h>
#include <string.h>

#include <utility>

#include "core/string.h"

namespace core {

namespace {

// Formats into a small stack buffer, or into a heap String when the output is longer; the
// arguments may point into the string being written, so nothing is written there until the
// output is complete.
void append_formatted(String& target, const char* format, va_list arguments) {
  if (format == nullptr) return;
  char small[1024];
  va_list again;
  va_copy(again, arguments);
  const int n = vsnprintf(small, sizeof(small), format, arguments);
  if (n < 0) {
    va_end(again);
    return;
  }
  if (n < static_cast<int>(sizeof(small))) {
    target.append(small, n);
  } else {
    String big;
    big.set_length(n);
    vsnprintf(big.data(), static_cast<size_t>(n) + 1, format, again);
    target.append(big);
  }
  va_end(again);
}

}  // namespace

int format_buffer(char* buffer, int size, const char* format, ...) {
  if (buffer == nullptr || size <= 0) return -1;
  va_list arguments;
  va_start(arguments, format);
  int n = vsnprintf(buffer, static_cast<size_t>(size), format, arguments);
  va_end(arguments);
  buffer[size - 1] = 0;
  return n;
}

namespace {

const char* const first_ordinals[20] = {"Zeroth",     "First",      "Second",      "Third",      "Fourth",
                                        "Fifth",      "Sixth",      "Seventh",     "Eighth",     "Ninth",
                                        "Tenth",      "Eleventh",   "Twelfth",     "Thirteenth", "Fourteenth",
                                        "Fifteenth",  "Sixteenth",  "Seventeenth", "Eighteenth", "Nineteenth"};
const char* const first_numbers[20] = {"Zero",    "One",     "Two",       "Three",    "Four",
                                       "Five",    "Six",     "Seven",     "Eight",    "Nine",
                                       "Ten",     "Eleven",  "Twelve",    "Thirteen", "Fourteen",
                                       "Fifteen", "Sixteen", "Seventeen", "Eighteen", "Nineteen"};
const char* const tens_ordinals[10] = {"", "", "Twentieth", "Thirtieth", "Fortieth",
                                       "Fiftieth", "Sixtieth", "Seventieth", "Eightieth", "Ninetieth"};
const char* const tens_numbers[10] = {"", "", "Twenty", "Thirty", "Forty", "Fifty", "Sixty", "Seventy", "Eighty", "Ninety"};

void append_word(String& out, const char* word) {
  if (!out.is_empty()) out.append(' ');
  out.append(word);
}

// 1..999 in words ("Two Hundred Forty One").
void append_number_words(String& out, int32_t n) {
  if (n >= 100) {
    append_word(out, first_numbers[n / 100]);
    append_word(out, "Hundred");
    n %= 100;
  }
  if (n >= 20) {
    append_word(out, tens_numbers[n / 10]);
    n %= 10;
  }
  if (n > 0) append_word(out, first_numbers[n]);
}

// 1..99 as an ordinal ("Twenty First", "Thirtieth").
void append_ordinal_words(String& out, int32_t n) {
  if (n < 20) {
    append_word(out, first_ordinals[n]);
  } else if (n % 10 == 0) {
    append_word(out, tens_ordinals[n / 10]);
  } else {
    append_word(out, tens_numbers[n / 10]);
    append_word(out, first_ordinals[n % 10]);
  }
}

}  // namespace

String& String::vformat(const char* format, va_list arguments) {
  String out;
  append_formatted(out, format, arguments);
  *this = std::move(out);
  return *this;
}

String& String::append_vformat(const char* format, va_list arguments) {
  append_formatted(*this, format, arguments);
  return *this;
}

String& String::format(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  vformat(format, arguments);
  va_end(arguments);
  return *this;
}

String& String::append_format(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  append_formatted(*this, format, arguments);
  va_end(arguments);
  return *this;
}

String format_string(const char* format, ...) {
  String out;
  va_list arguments;
  va_start(arguments, format);
  append_formatted(out, format, arguments);
  va_end(arguments);
  return out;
}

String from_int(int32_t n) { return from_int64(n); }

String from_int64(int64_t n) {
  char digits[24];
  int32_t at = sizeof(digits);
  // Work on the magnitude as unsigned so that the minimum value has one too.
  uint64_t magnitude = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
  do {
    digits[--at] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (n < 0) digits[--at] = '-';
  return String(digits + at, static_cast<int32_t>(sizeof(digits)) - at);
}

String from_double(double x, int32_t precision) {
  String out;
  if (precision >= 0) return out.format("%.*f", static_cast<int>(precision), x);
  out.format("%.6f", x);
  if (out.find_char('.') >= 0) {
    out.trim_right('0');
    out.remove_suffix('.');
  }
  return out;
}

String byte_size(int64_t n) {
  if (n < 1024) {
    String out = from_int64(n);
    return out.append(" bytes");
  }
  static const struct {
    int64_t unit;
    const char* format;
  } units[] = {{1099511627776LL, "%.2f TB"}, {1073741824LL, "%.2f GB"}, {1048576LL, "%.2f MB"}, {1024LL, "%.2f KB"}};
  for (const auto& u : units) {
    if (n >= u.unit) return format_string(u.format, static_cast<double>(n) / static_cast<double>(u.unit));
  }
  return String();
}

String ordinal(int32_t n) {
  const char* suffix = "th";
  if (n < 4 || n > 20) {
    const int32_t last = n < 0 ? -(n % 10) : n % 10;
    if (last == 1) suffix = "st";
    if (last == 2) suffix = "nd";
    if (last == 3) suffix = "rd";
  }
  return format_string("%d%s", static_cast<int>(n), suffix);
}

String ordinal_word(int32_t value) {
  String out;
  // Widened so that the magnitude of the minimum value fits.
  int64_t n = value;
  if (n < 0) {
    out.append("Minus");
    n = -n;
  }
  if (n == 0) {
    append_word(out, first_ordinals[0]);
    return out;
  }
  static const struct {
    int64_t size;
    const char* name;
    const char* ordinal;
  } groups[] = {{1000000000, "Billion", "Billionth"}, {1000000, "Million", "Millionth"}, {1000, "Thousand", "Thousandth"}};
  for (const auto& g : groups) {
    if (n < g.size) continue;
    append_number_words(out, static_cast<int32_t>(n / g.size));
    n %= g.size;
    append_word(out, n == 0 ? g.ordinal : g.name);
  }
  if (n == 0) return out;
  if (n >= 100) {
    append_word(out, first_numbers[n / 100]);
    n %= 100;
    append_word(out, n == 0 ? "Hundredth" : "Hundred");
  }
  if (n > 0) append_ordinal_words(out, static_cast<int32_t>(n));
  return out;
}

}  // namespace core
