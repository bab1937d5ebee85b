// Built-in string tables of the installer runtime's texts, and what each id is formatted with.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qvin {

// Ids 0..71 are the texts the runtime shows; a table may be extended by a project.
inline constexpr int kBuiltinStringCount = 72;
using StringTable = std::array<std::string_view, kBuiltinStringCount>;

// A built-in language: its name (as the language dialog lists it and associations
// name it) and its texts in UTF-8.
struct BuiltinLanguage {
  std::string_view name;
  const StringTable* strings;
};

// English, German, French and Spanish, in that order.
std::span<const BuiltinLanguage> builtin_languages();

// The built-in language of that name (exact), or null.
const BuiltinLanguage* find_builtin_language(std::string_view name);

// The printf conversions the runtime formats string `id` with, in order ("%s%c%s"),
// or "" for a text shown as it is.
std::string_view string_arguments(int id);

// True when the runtime shows string `id` (every built-in table fills these).
bool string_is_used(int id);

// The conversions of a printf format in order ("%d%s"); "%%" is not one. Returns false
// when the format holds a '%' that does not start a plain conversion.
bool format_conversions(std::string_view format, std::string* conversions);

extern const StringTable kEnglishStrings;
extern const StringTable kGermanStrings;
extern const StringTable kFrenchStrings;
extern const StringTable kSpanishStrings;

}  // namespace qvin
