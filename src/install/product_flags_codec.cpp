// Writing and reading "ProductFlags" as an unsigned number, so that a flag word with its
// top bit set never reaches the other word as a sign.
#include "install/product_flags_codec.h"

namespace install {

core::String write_product_flags(ProductFlags words) {
  uint64_t n = (static_cast<uint64_t>(words.flags2) << 32) | words.flags;
  char digits[21];
  int32_t start = sizeof(digits);
  do {
    digits[--start] = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n != 0);
  return core::String(digits + start, static_cast<int32_t>(sizeof(digits)) - start);
}

ProductFlags read_product_flags(const core::String& text) {
  const char* p = text.text();
  while (core::ascii::is_white(*p)) ++p;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  uint64_t n = 0;
  for (; core::ascii::is_digit(*p); ++p) n = n * 10 + static_cast<uint64_t>(*p - '0');
  if (negative) n = 0 - n;
  ProductFlags words;
  words.flags = static_cast<uint32_t>(n);
  words.flags2 = static_cast<uint32_t>(n >> 32);
  return words;
}

}  // namespace install
