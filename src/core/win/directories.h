// Directories and drives on the machine: tests, the current directory, recursive creation
// and removal, attributes and environment expansion. Every function reports failure by
// its result (false, -1 or an empty text) and shows nothing.
#pragma once

#include "core/string.h"

namespace core {

// The path starts with a letter whose drive root ("X:\") exists.
bool drive_exists(const char* path);

// True when the current directory can be set to path (the previous one is restored);
// false for a missing or blank path.
bool is_directory(const char* path);

// The process's current directory; empty when the system cannot tell.
String current_directory();

// Creates path and every missing parent. True when path is a directory afterwards
// (including when it already was, or someone else created it meanwhile); a drive root
// or a bare drive counts as existing.
bool create_directory(const char* path);

// Removes an empty directory (one trailing '\' ignored). Refuses paths of 3 characters
// or less, which include every drive root. A directory link goes as remove_directory_link
// says.
bool remove_directory(const char* path);

// The path is a directory that is a link (junction, symbolic link, mount point).
bool is_directory_link(const char* path);

// Removes a directory link itself, never what it points to, and only when the system
// hands out the link's reparse data; any other link stays (false). Under Wine a Unix
// symbolic link looks like a link without data, and removing it would delete its target.
bool remove_directory_link(const char* path);

// Removes a directory with everything in it: files (read-only ones too) and
// subdirectories; a link (junction), the path itself or a subdirectory, is never walked
// but removed as remove_directory_link says.
// Refuses drive roots, short paths of 3 characters or less, and the Windows directory.
// Carries on after a failure; true only when everything went. On failure the system's
// last error describes the first level's cause.
bool remove_directory_tree(const char* path);

// Turns the read-only attribute on or off; attributes are written only when they change.
// False when the attributes cannot be read or written.
bool set_read_only(const char* path, bool on);

// Expands %NAME% environment references in place (at most 31999 bytes of result);
// false with text unchanged on failure.
bool expand_environment(String& text);

}  // namespace core
