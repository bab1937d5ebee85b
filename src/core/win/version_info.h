// File version resources: the whole block, single values, and the file's version text.
#pragma once

#include "core/string.h"

namespace core {

// Reads the version resource of the file at path into block. False with block emptied
// when the file has none (or cannot be read).
bool read_version_block(const char* path, String& block);

// One value of a version block ("\StringFileInfo\040904e4\FileVersion",
// "\VarFileInfo\Translation", "\" for the fixed record): text gets the bytes the system
// returns. False (text unchanged) when the block has no such value.
bool query_value(const String& block, const char* value_path, String& text);

// The block's first translation as "%04x%04x"; 040904e4 when the block has none.
String translation_key(const String& block);

// The file's "FileVersion" under its translation key, normalised (normalise_version_text);
// empty when the file has no version block or no such value.
String file_version_text(const char* path, bool padded);

}  // namespace core
