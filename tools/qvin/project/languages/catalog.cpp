// The list of built-in languages and the argument shapes of the formatted strings.
#include "qvin/project/languages/catalog.h"

namespace qvin {
namespace {

constexpr BuiltinLanguage kLanguages[] = {
    {"English", &kEnglishStrings},
    {"German", &kGermanStrings},
    {"French", &kFrenchStrings},
    {"Spanish", &kSpanishStrings},
};

struct Arguments {
  int id;
  std::string_view conversions;
};

// Strings the runtime passes through printf, with the values it supplies.
constexpr Arguments kFormatted[] = {
    {10, "%s"}, {12, "%s"}, {13, "%d"}, {16, "%c"}, {18, "%s"}, {19, "%s%c%s"},
    {22, "%s"}, {23, "%s"}, {26, "%d%c"}, {38, "%s"}, {40, "%s"}, {56, "%s"},
    {59, "%s"}, {61, "%s"},
};

}  // namespace

std::span<const BuiltinLanguage> builtin_languages() { return kLanguages; }

const BuiltinLanguage* find_builtin_language(std::string_view name) {
  for (const auto& language : kLanguages)
    if (language.name == name) return &language;
  return nullptr;
}

std::string_view string_arguments(int id) {
  for (const auto& a : kFormatted)
    if (a.id == id) return a.conversions;
  return {};
}

bool string_is_used(int id) {
  // 60 is not used; 63 and 64 are optional texts shown before the project's own
  // licence and readme texts, empty unless a project sets them.
  return id >= 0 && id < kBuiltinStringCount && id != 60 && id != 63 && id != 64;
}

bool format_conversions(std::string_view format, std::string* conversions) {
  conversions->clear();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 >= format.size()) return false;
    const char c = format[i + 1];
    if (c == '%') {
      ++i;
      continue;
    }
    if (c != 's' && c != 'd' && c != 'c') return false;
    *conversions += '%';
    *conversions += c;
    ++i;
  }
  return true;
}

}  // namespace qvin
