// Version texts of file version resources.
#include "core/version_text.h"

#include <stdio.h>

#include "core/string.h"

namespace core {

namespace {

constexpr int32_t padded_part_length = 10;

bool is_removed(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

}  // namespace

String translation_key_text(uint16_t language, uint16_t code_page) {
  char key[16];
  format_buffer(key, sizeof(key), "%04x%04x", static_cast<unsigned>(language), static_cast<unsigned>(code_page));
  return String(key);
}

void normalise_version_text(String& text, bool padded) {
  int32_t length = text.length();
  if (length > 0 && text.text()[length - 1] == 0) --length;
  String plain;
  for (int32_t i = 0; i < length; ++i) {
    char c = text.text()[i];
    if (is_removed(c)) continue;
    if (c == ',') c = '.';
    if (padded && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    plain.append(&c, 1);
  }
  if (!padded || plain.is_empty()) {
    text = plain;
    return;
  }
  String result;
  int32_t start = 0;
  for (int32_t i = 0; i <= plain.length(); ++i) {
    if (i < plain.length() && plain.text()[i] != '.') continue;
    for (int32_t pad = i - start; pad < padded_part_length; ++pad) result.append("0");
    result.append(plain.text() + start, i - start);
    if (i < plain.length()) result.append(".");
    start = i + 1;
  }
  text = result;
}

}  // namespace core
