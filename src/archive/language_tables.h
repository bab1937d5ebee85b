// The localised string tables: one table of numbered texts per language, and their lookup.
#pragma once

#include <stdint.h>

#include "archive/corrupt_code.h"
#include "archive/memory_stream.h"
#include "core/array.h"
#include "core/string.h"

namespace archive {

namespace language_limit {
inline constexpr int32_t MaxLanguages = 100;   // at least 1
inline constexpr int32_t MaxStrings = 10000;   // at least 1
}  // namespace language_limit

// The language preselected when its name is among the stored ones (exact, with case).
inline constexpr char kPreselectedLanguage[] = "English";

// Placeholders `localised` replaces (ignoring case).
inline constexpr char kProductPlaceholder[] = "<product>";
inline constexpr char kWindowsPlaceholder[] = "<os>";

// The string ids the installer uses by number.
namespace text_id {
inline constexpr int32_t DisplayTitle = 0;
inline constexpr int32_t StartPrompt = 1;
inline constexpr int32_t ExistingCaption = 2;
inline constexpr int32_t ExistingUncompared = 3;
inline constexpr int32_t ExistingSameVersion = 4;
inline constexpr int32_t ExistingOlderVersion = 5;
inline constexpr int32_t ExistingNewerVersion = 6;
inline constexpr int32_t ExistingQuestion = 7;
inline constexpr int32_t StatusLoading = 8;
inline constexpr int32_t ExistingRefused = 9;
inline constexpr int32_t DirectoryCaption = 11;
inline constexpr int32_t MasterMissing = 12;
inline constexpr int32_t CorruptInstaller = 13;
inline constexpr int32_t InvalidDirectory = 14;
inline constexpr int32_t MissingDrive = 16;
inline constexpr int32_t DirectoryTooShort = 17;
inline constexpr int32_t DirectoryIsProgramFiles = 18;
inline constexpr int32_t DiskSpace = 19;
inline constexpr int32_t WarningCaption = 20;
inline constexpr int32_t ErrorCaption = 21;
inline constexpr int32_t ConfirmExisting = 22;
inline constexpr int32_t ConfirmCreate = 23;
inline constexpr int32_t ConfirmCaption = 24;
inline constexpr int32_t DirectoryNotCreated = 25;
inline constexpr int32_t VolumeRequest = 26;
inline constexpr int32_t VolumeCaption = 27;
inline constexpr int32_t CancelQuestion = 28;
inline constexpr int32_t StatusDecompressing = 29;
inline constexpr int32_t WrongVolume = 30;
inline constexpr int32_t FileNotWritten = 31;
inline constexpr int32_t StatusShortcuts = 32;
inline constexpr int32_t UninstallerShortcutName = 33;
inline constexpr int32_t StatusUninstallData = 36;
inline constexpr int32_t RestartQuestion = 37;
inline constexpr int32_t DefaultShortcutName = 38;
inline constexpr int32_t CaptionInstalling = 39;
inline constexpr int32_t ViewLogQuestion = 40;
inline constexpr int32_t ViewLogCaption = 41;
inline constexpr int32_t Completed = 42;
inline constexpr int32_t CompletedCaption = 43;
inline constexpr int32_t LicenceTitle = 44;
inline constexpr int32_t LicenceOk = 45;
inline constexpr int32_t LicenceCancel = 46;
inline constexpr int32_t LicenceCaption = 47;
inline constexpr int32_t Ok = 48;
inline constexpr int32_t Cancel = 49;
inline constexpr int32_t ReadmeTitle = 50;
inline constexpr int32_t ReadmeCaption = 51;
inline constexpr int32_t Browse = 52;
inline constexpr int32_t ProgressTitleInstalling = 54;
inline constexpr int32_t ProgressTitleUninstalling = 55;
inline constexpr int32_t SystemExcluded = 61;
inline constexpr int32_t StatusChecking = 62;
inline constexpr int32_t BuiltInLicence = 63;
inline constexpr int32_t BuiltInReadme = 64;
inline constexpr int32_t StartPromptCaption = 65;
inline constexpr int32_t NetworkDirectory = 66;
inline constexpr int32_t CaptionUninstalling = 71;
}  // namespace text_id

// The tables: language names in stored order, and for each string id one text per
// language. Texts are stored with normalised line ends (CR LF).
class LanguageTables {
 public:
  int32_t language_count() const { return names_.count(); }
  int32_t string_count() const { return language_count() == 0 ? 0 : texts_.count() / language_count(); }
  // The name of a language; an empty text for an index out of range.
  const core::String& language_name(int32_t index) const;
  int32_t current_language() const { return current_; }
  // Makes `index` current; false (nothing changed) for an index out of range.
  bool set_current_language(int32_t index);

  // The text of `id` in the current language with every "<product>" replaced by
  // product_name and then every "<os>" by windows_directory (ignoring case). The
  // replacement is made in the stored text, so it is done once per text. An id or
  // language out of range gives an empty text. The result lives as long as the tables.
  const core::String& localised(int32_t id, const core::String& product_name, const core::String& windows_directory);

  // The text as stored (after earlier substitutions), without placeholder replacement;
  // an empty text when out of range.
  const core::String& stored(int32_t id, int32_t language) const;

  // Building, for writers: sets `languages` names and `strings` ids, all texts empty,
  // the current language 0. False (tables left empty) outside 1..100 or 1..10000.
  bool reset(int32_t languages, int32_t strings);
  // Sets a name or a text; false out of range.
  bool set_language_name(int32_t index, const core::String& name);
  bool set_text(int32_t id, int32_t language, const core::String& text);

  // Same names and texts (the current language is a choice, not content).
  bool operator==(const LanguageTables& other) const;

 private:
  friend CorruptCode load_language_tables(MemoryStream& stream, LanguageTables& tables);
  friend CorruptCode write_language_tables(MemoryStream& stream, const LanguageTables& tables);

  core::Array<core::String> names_;
  core::Array<core::String> texts_;  // id * language_count() + language
  int32_t current_ = 0;
  core::String empty_;
};

// Reads the stored tables (u8 language count, i32 string count, the names, then the
// texts id by id and language by language), normalising each text's line ends and
// preselecting the last language named "English" (else language 0). Returns
// BadLanguageCount, BadStringCount, BadEndMarker when the block ends inside the
// tables, or None; on failure the tables are empty.
CorruptCode load_language_tables(MemoryStream& stream, LanguageTables& tables);

// Writes the tables in the stored form: the exact inverse of load_language_tables for
// texts whose line ends are normalised. The tables are written as they are; the result
// is the code reading them back would give (BadEndMarker for a zero byte inside a name
// or text, which the stored form cannot hold).
CorruptCode write_language_tables(MemoryStream& stream, const LanguageTables& tables);

}  // namespace archive
