// Path rules on text alone: validity, absolute paths, directory and file-name parts,
// drive prefixes, joining and resolving. Windows paths ('\' separator, "X:" drives,
// "\\" network paths) on every platform; nothing here asks the machine.
#pragma once

#include <stdint.h>

#include "core/string.h"

namespace core {

// Flag bits of is_valid_path.
namespace path_check {
inline constexpr uint32_t AllowStar = 0x1;       // the path may contain '*'
inline constexpr uint32_t AllowWildcards = 0x2;  // a file pattern: '*' and '?' allowed
inline constexpr uint32_t Trim = 0x4;            // trim white space first
}  // namespace path_check

// The characters that never belong in a plain path or a file name (slash, double quote,
// '<', '>', '|', '*', '?', ':' and ';'); the backslash is never one of them.
inline constexpr const char* invalid_path_chars = "/\"<>|*?:;";

// True when text (null counts as empty) holds any character of invalid_path_chars.
bool has_invalid_path_char(const char* text);

// A path is valid when, after the optional trim and the removal of one pair of
// surrounding double quotes, it is not empty, a ':' in second place follows a letter,
// and no other character belongs to the chosen invalid set (strict by default; without
// '*' under AllowStar; without '*' and '?' under AllowWildcards).
bool is_valid_path(const char* path, uint32_t flags);

// After leading white space: "\\..." or "X:\..." (any character before the colon).
bool is_absolute_path(const char* path);

// The directory of a path: the text before its last '\' (looking only before the first
// ';' outside quotes), or before its first ':' when it has no '\'. A ':' separator, and a
// '\' right after a ':', stay in the result: C:\x gives C:\, C:x gives C:, dir\x gives dir,
// \x and x give an empty text.
String directory_part(const char* path);

// The text after the last '\'; without one, after the first ':'; else the whole path.
String file_name_part(const char* path);

// "C:" for a path that starts with the letter C (or c: the letter is kept as written);
// empty when the path does not start with an ASCII letter.
String drive_prefix(const char* path);

// The upper-case drive letter of a path that starts with a letter and ':', else 0.
char drive_letter(const char* path);

// The letter and ':' when letter is an ASCII letter, else an empty text.
String drive_text(char letter);

// dir and name with one '\' between them: an empty side gives the other; a name
// starting with '\' replaces one trailing '\' of dir; no '\' is added after ':' or '\'.
String join_path(const char* dir, const char* name);

// Makes a relative path absolute against base, in place. Trims path; false (path left as
// it was apart from the trim) when path is empty, base is not absolute, or path is
// already absolute or a network path. "\dir" takes the drive of base; "X:dir" keeps its
// drive and takes the rest of base; anything else is put under base.
bool resolve_path(String& path, const char* base);

// size rounded up to a multiple of unit; units below 2 leave it unchanged. size >= 0.
int64_t round_up(int64_t size, int64_t unit);

}  // namespace core
