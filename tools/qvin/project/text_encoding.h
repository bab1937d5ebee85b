// Conversion between UTF-8 (project files, terminal) and Windows-1252 (archive texts).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/string.h"

namespace qvin {

// Windows-1252 bytes of a UTF-8 text, or nullopt when the text is not valid UTF-8 or
// holds a character the code page cannot carry. `bad` (when given) receives a short
// description of the first offending character.
std::optional<std::string> utf8_to_cp1252(const std::string& utf8, std::string* bad = nullptr);

// UTF-8 form of Windows-1252 bytes; never fails (the five unassigned bytes map to the
// C1 controls of the same value, as Windows does).
std::string cp1252_to_utf8(const std::string& bytes);

// The path named by Windows-1252 bytes (a stored name, a volume's name). On Windows a path
// made from a narrow string would read it in the ANSI code page instead.
std::filesystem::path path_of_cp1252(const std::string& bytes);

// The text with every line end (LF, CR, LF CR or CR LF) as CR LF, the form Windows
// edit controls and the program's language tables expect.
std::string crlf_line_ends(const std::string& text);

// The same bytes as the archive library's text, and back.
core::String to_core(std::string_view bytes);
std::string from_core(const core::String& text);

// The UTF-8 form of an archive text.
inline std::string utf8_of(const core::String& text) { return cp1252_to_utf8(from_core(text)); }

// The UTF-8 encoding of one code point.
std::string utf8_of(char32_t code_point);

}  // namespace qvin
