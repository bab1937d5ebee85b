// The PATH line of "autoexec.bat" on text alone: found, added and removed as a whole line.
#pragma once

#include "core/string.h"

namespace install {

// "PATH=%PATH%;<directory>" without its line end.
core::String autoexec_path_entry(const char* directory);

// True when a line of text, apart from its line end and surrounding blanks, is the entry
// (ignoring case). A longer line that merely contains it ("...;C:\APP\BIN") is not.
bool has_autoexec_line(const core::String& text, const core::String& entry);

// Appends the entry with CR LF, after a line end when the text does not end with one;
// false (text unchanged) when the line is already there.
bool add_autoexec_line(core::String& text, const core::String& entry);

// Removes the first whole line that is the entry, with its line end; false when none is.
bool remove_autoexec_line(core::String& text, const core::String& entry);

}  // namespace install
