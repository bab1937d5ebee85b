// "ProductFonts": the fonts an installation registered, as the uninstall key keeps them:
// for each font its face name and its file name, each a double-quoted run followed by a
// blank.
#pragma once

#include "core/array.h"
#include "core/string.h"

namespace install {

struct ProductFont {
  core::String face;
  core::String file;  // the name in the fonts directory
};

// Appends one font to a list text (the run's font_list).
void append_product_font(core::String& list, const core::String& face, const core::String& file);

// The fonts of a list text, in order, up to the first entry whose face or file name is
// empty or missing.
core::Vector<ProductFont> read_product_fonts(const core::String& list);

}  // namespace install
