// Double-quoted runs, the building block of the texts kept in the uninstall key: a run is
// a double quote, the text with every double quote in it doubled, and a double quote.
#pragma once

#include "core/string.h"

namespace install {

// Appends run to text as a double-quoted run.
void append_quoted_run(core::String& text, const core::String& run);

// Cuts the double-quoted run at the start of text and returns it with its doubled quotes
// made single; the run and its quotes are removed from text. A text that does not start
// with a double quote gives an empty run and is left as it is; a run without its closing
// quote takes the rest of the text.
core::String cut_quoted_run(core::String& text);

}  // namespace install
