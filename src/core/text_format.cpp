// Formatting a foreign format text against a typed argument list.
#include "core/text_format.h"

#include <stdio.h>

#include "core/string.h"
#include <string.h>

namespace core {
namespace {

bool is_flag(char c) { return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Renders one argument with the conversion's flags, width and precision.
void append_argument(String& out, const String& spec, char conversion, const FormatArgument* argument) {
  if (argument == nullptr) return;
  char with_kind[48];
  bool text_wanted = conversion == 's';
  if (argument->kind == FormatArgument::Kind::Text && !text_wanted) conversion = 's';
  if (argument->kind != FormatArgument::Kind::Text && text_wanted) conversion = 'd';
  if (argument->kind == FormatArgument::Kind::Character && conversion != 'c' && !text_wanted) conversion = 'c';
  switch (conversion) {
    case 's':
      format_buffer(with_kind, sizeof(with_kind), "%s%c", spec.text(), 's');
      out.append_format(with_kind, argument->text != nullptr ? argument->text : "");
      return;
    case 'c':
      format_buffer(with_kind, sizeof(with_kind), "%s%c", spec.text(), 'c');
      out.append_format(with_kind, static_cast<int>(argument->number));
      return;
    default:
      // The texts' numbers (codes, volume numbers) are 32-bit.
      format_buffer(with_kind, sizeof(with_kind), "%s%c", spec.text(), conversion);
      out.append_format(with_kind, static_cast<int>(argument->number));
      return;
  }
}

}  // namespace

String format_text(const char* format, std::initializer_list<FormatArgument> arguments) {
  String out;
  if (format == nullptr) return out;
  const FormatArgument* next = arguments.begin();
  const char* p = format;
  while (*p != 0) {
    if (*p != '%') {
      out.append(*p++);
      continue;
    }
    const char* start = p++;
    if (*p == '%') {
      out.append('%');
      ++p;
      continue;
    }
    String spec("%");
    while (is_flag(*p) && spec.length() < 8) spec.append(*p++);
    int digits = 0;
    while (is_digit(*p)) {
      if (++digits <= 4) spec.append(*p);
      ++p;
    }
    if (*p == '.') {
      spec.append(*p++);
      digits = 0;
      while (is_digit(*p)) {
        if (++digits <= 4) spec.append(*p);
        ++p;
      }
    }
    while (*p == 'l' || *p == 'h') ++p;
    if (p[0] == 'I' && p[1] == '6' && p[2] == '4') p += 3;
    char conversion = *p;
    if (conversion == 0 || strchr("diuxXocs", conversion) == nullptr) {
      // Not a conversion we take: copy it as written.
      out.append(start, static_cast<int32_t>(p - start));
      continue;
    }
    ++p;
    const FormatArgument* argument = next != arguments.end() ? next++ : nullptr;
    append_argument(out, spec, conversion, argument);
  }
  return out;
}

}  // namespace core
