// Defines: named values that the project file's texts refer to as ${name}, given on the
// command line (qvin build -D name=value) or as defaults in the file's [defines] table.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace qvin {

// Values by name, as given on the command line (UTF-8 text).
using Defines = std::map<std::string, std::string, std::less<>>;

// True for a usable define name: a letter or '_', then letters, digits, '_', '-'.
bool is_define_name(std::string_view name);

}  // namespace qvin
