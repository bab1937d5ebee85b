// File patterns expanded on the machine: every file their patterns match, with the
// total size in 64 bits.
#pragma once

#include <stdint.h>

#include "core/array.h"
#include "core/string.h"
#include "install/protected_folder_rules.h"

namespace install {

// Appends the files matching one pattern (its " /s" suffix: in every subdirectory too,
// after the directory's own files) and returns their total size. A walk enters no link
// (junction, symbolic link) and, when `protected_folders` is given, none of its folders.
int64_t list_matching_files(const core::String& pattern, core::Vector<core::String>& paths,
                            const ProtectedFolderSet* protected_folders = nullptr);

// Appends the full paths of every file the text's patterns name (once each, ignoring case)
// and returns their total size. With `diagnostics`, explains what went wrong: a missing
// default directory, a relative pattern, a pattern matching nothing, a file named twice.
int64_t expand_file_specification(const core::String& text, core::Vector<core::String>& paths,
                                  const char* default_directory, core::String* diagnostics,
                                  const ProtectedFolderSet* protected_folders = nullptr);

}  // namespace install
