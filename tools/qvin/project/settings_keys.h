// The plain settings under the names of the project file: one row per setting, through
// which the project reader, `qvin info` and `qvin info --json` all go.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

#include "archive/settings.h"
#include "qvin/project/flag_names.h"

namespace qvin {

// How a value is written in the project file and shown in the reports.
enum class KeyType {
  Text,     // a text (UTF-8 outside, Windows-1252 in the settings)
  Number,   // an integer in low..high
  Colour,   // "#RRGGBB" or a number; stored as a colour reference (red in the low byte)
  Code,     // a name of `codes`; with `numbers`, also an integer in low..high
  CodeSet,  // an array of names of `codes`, whose bits are stored together
  Time,     // a local date-time, or a date without time of day
  File,     // a file named relative to the project, whose bytes are stored
};

// What the project reader checks beyond the type.
enum class KeyRule {
  None,
  Required,       // must be given and not blank
  PlainFileName,  // a file name without directory or wildcard ("Uninstall.exe")
  PlainBaseName,  // the same, and not blank
  IconFile,       // an icon (.ico) file
  BitmapFile,     // a plain Windows bitmap, stored without its 14-byte file header; shown
                  // at full size unless the bitmap size is given too
};

// The field of archive::Settings a row stands for.
using SettingField =
    std::variant<core::String archive::Settings::*, int32_t archive::Settings::*, uint16_t archive::Settings::*,
                 uint8_t archive::Settings::*, core::FileTime archive::Settings::*>;

struct SettingKey {
  std::string_view section;  // the project file's table, the report's section
  std::string_view key;
  SettingField field;
  KeyType type = KeyType::Text;
  KeyRule rule = KeyRule::None;
  int64_t low = 0, high = 0;                       // Number, and Code with numbers
  std::span<const CodeName> (*codes)() = nullptr;  // Code, CodeSet
  bool numbers = false;                            // Code: an integer is accepted too
  uint32_t implies_flag = 0;  // a bit of `flags` set when the key is given ([flags] may clear it)
};

// Every row, grouped by section in the order the reports show them.
std::span<const SettingKey> setting_keys();

// "section.key".
std::string qualified_key(const SettingKey& key);

// The field's value as an integer (Number, Colour, Code, CodeSet), and its setting.
int64_t setting_number(const SettingKey& key, const archive::Settings& settings);
void set_setting_number(const SettingKey& key, archive::Settings& settings, int64_t value);

}  // namespace qvin
