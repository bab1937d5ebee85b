// File patterns on text alone: lines of ';'-separated patterns with wildcards in
// their last name and an optional " /s" for every subdirectory, resolved into full patterns.
#pragma once

#include <stdint.h>

#include "core/array.h"
#include "core/string.h"

namespace install {

// One pattern of a rule's text, resolved; it keeps its " /s".
struct FilePattern {
  int32_t line = 0;  // from 1, for messages
  core::String pattern;
};

// Removes a trailing " /s" (any letter case); true when it was there.
bool take_recursive_suffix(core::String& pattern);

// The patterns of every non-empty line, in order. A line's directory (its directory part,
// resolved against default_directory) applies to its bare patterns; a pattern with a
// directory of its own is resolved against default_directory; an absolute one stays. A
// pattern may come out relative when there is no absolute directory to resolve it against.
void split_file_patterns(const core::String& text, const char* default_directory,
                         core::Vector<FilePattern>& patterns);

}  // namespace install
