// The "[rename]" section of "wininit.ini", on text alone: where a new entry goes.
#pragma once

#include "core/string.h"

namespace install {

// Adds "target=source" to the text of a "wininit.ini" as the first line of its "[rename]"
// section (the header found ignoring case). Without a section one is appended at the end,
// after a line end when the text does not already end with one.
void add_rename_entry(core::String& text, const char* target, const char* source);

}  // namespace install
