// Which stored file names may be written below an extraction directory.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qvin {

// The verdict on one stored name: a relative path to write, or why it is refused.
struct ExtractPath {
  std::optional<std::filesystem::path> path;  // relative, '/'-separated, UTF-8
  std::string refusal;                        // set when path is empty
};

// Checks a stored name (Windows-1252, '\' or '/' separated). Refused: an empty name, an
// absolute or network path, a drive letter or any ':', a "." or ".." component,
// characters Windows does not allow in names (control characters, < > " | ? *), a
// component ending in a dot or blank, and device names (CON, PRN, AUX, NUL, COM1-9,
// LPT1-9, CONIN$, CONOUT$, with or without an extension).
ExtractPath extract_path(std::string_view stored_name);

}  // namespace qvin
