// Formatting with a format text that comes from outside the program (the archive's
// localised texts): each conversion takes the next argument of a typed list, so a text
// whose conversions do not match its arguments prints oddly but never reads memory that
// was not passed.
#pragma once

#include <stdint.h>

#include <initializer_list>

#include "core/string.h"

namespace core {

// One argument: a number, a character or a text.
struct FormatArgument {
  enum class Kind { Number, Character, Text };
  Kind kind;
  int32_t number = 0;
  const char* text = nullptr;

  FormatArgument(int32_t n) : kind(Kind::Number), number(n) {}        // NOLINT: implicit by design
  FormatArgument(const char* t) : kind(Kind::Text), text(t) {}        // NOLINT
  FormatArgument(const String& t) : kind(Kind::Text), text(t.text()) {}  // NOLINT
  static FormatArgument character(char c) {
    FormatArgument a(static_cast<int32_t>(static_cast<unsigned char>(c)));
    a.kind = Kind::Character;
    return a;
  }
};

// printf semantics for the conversions d i u x X o c s and %%, with flags, width and
// precision (a '*' is taken literally as no width). Each conversion consumes the next
// argument: a number where a text is expected prints in decimal, a text where a number is
// expected prints as text, a missing argument prints nothing; an unknown conversion is
// copied as written. Length modifiers (l, ll, h, I64) are accepted and ignored.
String format_text(const char* format, std::initializer_list<FormatArgument> arguments);

}  // namespace core
