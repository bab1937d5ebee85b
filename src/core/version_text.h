// Version texts of file version resources: the translation key and the normalised text
// that the installer's version comparison reads.
#pragma once

#include <stdint.h>

#include "core/string.h"

namespace core {

// The language and code page of a version resource's first translation, as "%04x%04x"
// (lower-case hexadecimal, language first): 040904e4.
String translation_key_text(uint16_t language, uint16_t code_page);

// Normalises a "FileVersion" text in place: one trailing NUL dropped, every ',' made '.',
// every space, CR, LF and TAB removed. Padded: ASCII letters upper-cased and every part
// between dots shorter than 10 characters padded on the left with '0' to 10 characters
// (an empty text stays empty).
void normalise_version_text(String& text, bool padded);

}  // namespace core
