// Reads a TOML project file into a Project.
#pragma once

#include <filesystem>
#include <string_view>

#include "qvin/project/defines.h"
#include "qvin/project/project_model.h"

namespace qvin {

// Reads and checks the project file at `file`; sources named by [[files]] are only
// found later, when the installer is built, but texts, pictures and the patch are read
// here. Throws ProjectError ("FILE:LINE:COL: message") for any mistake: bad TOML, an
// unknown key or table, a value of the wrong type or out of range, a file that cannot
// be read. Every ${name} in the file's texts is first replaced by the define's value
// (`defines` from the command line, else the file's [defines]; see defines.h).
Project load_project(const std::filesystem::path& file, const Defines& defines = {});

// The same for a project given as text; `file` names it in messages and is the base
// of its relative paths.
Project parse_project(std::string_view text, const std::filesystem::path& file, const Defines& defines = {});

}  // namespace qvin
