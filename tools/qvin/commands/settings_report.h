// Settings and file records in readable form: JSON with the project file's names, and text.
#pragma once

#include <ostream>
#include <string>

#include "archive/settings.h"
#include "qvin/commands/json.h"
#include "qvin/project/project_model.h"

namespace qvin {

// "#RRGGBB" of a colour reference (red in the low byte).
std::string colour_text(int32_t colour_reference);
// The stored name's kind name, or its number.
std::string kind_text(uint32_t kind);
// Where a record goes, with the runtime's directory variables: "%InstallDir%\a.exe".
std::string destination_text(const archive::FileEntry& entry);

// The settings under the keys and tables of the project file (flags by name, every text
// in UTF-8, file contents by size and checksum).
Json settings_json(const archive::Settings& settings);
// One file record under the keys of a [[files]] entry.
Json file_json(const FileRecord& record);

// The settings as indented "key: value" lines for `qvin info`.
void print_settings(std::ostream& out, const archive::Settings& settings);

}  // namespace qvin
