// The localised string tables: one table of numbered texts per language, and their lookup.
#include "archive/language_tables.h"

#include "archive/field_io.h"

namespace archive {

namespace {

// The stored form: u8 language count, i32 string count, the names, then the texts id by
// id and, within an id, language by language.
template <class Io>
CorruptCode transfer(Io& io, core::Array<core::String>& names, core::Array<core::String>& texts,
                     int32_t& current) {
  uint8_t languages = static_cast<uint8_t>(names.count());
  if constexpr (!Io::kReading) {
    if (names.count() > 0xFF) io.unfit();
  }
  io.u8(languages);
  if (io.stop_unless(languages >= 1 && languages <= language_limit::MaxLanguages, CorruptCode::BadLanguageCount))
    return io.result();
  int32_t strings = languages == 0 ? 0 : texts.count() / languages;
  if constexpr (!Io::kReading) {
    if (texts.count() != strings * languages) io.unfit();
  }
  io.i32(strings);
  if (io.stop_unless(strings >= 1 && strings <= language_limit::MaxStrings, CorruptCode::BadStringCount))
    return io.result();
  if (io.make_room(names, languages, 1)) return io.result();
  for (int32_t i = 0; i < languages; ++i) {
    io.text(names[i]);
    if constexpr (Io::kReading) {
      // The last language of that exact name is preselected.
      if (names[i] == kPreselectedLanguage) current = i;
    }
  }
  if (io.make_room(texts, strings * languages, 1)) return io.result();
  for (int32_t i = 0; i < texts.count(); ++i) {
    io.text(texts[i]);
    if constexpr (Io::kReading) texts[i].normalise_line_ends();
  }
  return io.finish();
}

}  // namespace

const core::String& LanguageTables::language_name(int32_t index) const {
  if (index < 0 || index >= names_.count()) return empty_;
  return names_[index];
}

bool LanguageTables::set_current_language(int32_t index) {
  if (index < 0 || index >= language_count()) return false;
  current_ = index;
  return true;
}

const core::String& LanguageTables::localised(int32_t id, const core::String& product_name,
                                              const core::String& windows_directory) {
  if (id < 0 || id >= string_count()) return empty_;
  if (current_ < 0 || current_ >= language_count()) return empty_;
  core::String& text = texts_[id * language_count() + current_];
  text.replace(kProductPlaceholder, product_name.text(), core::search::IgnoreCase, 0, core::kAll);
  text.replace(kWindowsPlaceholder, windows_directory.text(), core::search::IgnoreCase, 0, core::kAll);
  return text;
}

const core::String& LanguageTables::stored(int32_t id, int32_t language) const {
  if (id < 0 || id >= string_count() || language < 0 || language >= language_count()) return empty_;
  return texts_[id * language_count() + language];
}

bool LanguageTables::reset(int32_t languages, int32_t strings) {
  names_.clear();
  texts_.clear();
  current_ = 0;
  if (languages < 1 || languages > language_limit::MaxLanguages || strings < 1 ||
      strings > language_limit::MaxStrings)
    return false;
  names_.set_count(languages);
  texts_.set_count(languages * strings);
  return true;
}

bool LanguageTables::set_language_name(int32_t index, const core::String& name) {
  if (index < 0 || index >= language_count()) return false;
  names_[index] = name;
  return true;
}

bool LanguageTables::set_text(int32_t id, int32_t language, const core::String& text) {
  if (id < 0 || id >= string_count() || language < 0 || language >= language_count()) return false;
  texts_[id * language_count() + language] = text;
  return true;
}

bool LanguageTables::operator==(const LanguageTables& other) const {
  if (names_.count() != other.names_.count() ||
      texts_.count() != other.texts_.count())
    return false;
  for (int32_t i = 0; i < names_.count(); ++i)
    if (!(names_[i] == other.names_[i])) return false;
  for (int32_t i = 0; i < texts_.count(); ++i)
    if (!(texts_[i] == other.texts_[i])) return false;
  return true;
}

CorruptCode load_language_tables(MemoryStream& stream, LanguageTables& tables) {
  tables.current_ = 0;
  FieldReader io(stream, CorruptCode::BadEndMarker);
  const CorruptCode code = transfer(io, tables.names_, tables.texts_, tables.current_);
  if (code != CorruptCode::None) tables.reset(0, 0);
  return code;
}

CorruptCode write_language_tables(MemoryStream& stream, const LanguageTables& tables) {
  // The writer only reads the fields; transfer takes them by reference for both sides.
  LanguageTables& fields = const_cast<LanguageTables&>(tables);
  int32_t current = fields.current_;
  FieldWriter io(stream, CorruptCode::BadEndMarker);
  return transfer(io, fields.names_, fields.texts_, current);
}

}  // namespace archive
