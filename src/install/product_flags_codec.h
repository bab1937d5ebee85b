// "ProductFlags": the installation's two flag words as the uninstall key keeps them for the
// uninstaller, the decimal text of flags2 * 2^32 + flags.
#pragma once

#include <stdint.h>

#include "core/string.h"

namespace install {

struct ProductFlags {
  uint32_t flags = 0;
  uint32_t flags2 = 0;
};

// The decimal text of the unsigned 64-bit number (no sign, no separators).
core::String write_product_flags(ProductFlags words);

// Reads the text back. Leading white space is skipped; digits are read up to the first
// other character; a leading '-' (a text written as a signed number) gives the same bits as
// that signed number. No digits give 0 in both words; a number past 2^64 keeps its low 64
// bits.
ProductFlags read_product_flags(const core::String& text);

}  // namespace install
