// Writing and reading "ProductFonts".
#include "install/product_fonts_codec.h"

#include "install/quoted_run_codec.h"

namespace install {

void append_product_font(core::String& list, const core::String& face, const core::String& file) {
  append_quoted_run(list, face);
  list.append(' ');
  append_quoted_run(list, file);
  list.append(' ');
}

core::Vector<ProductFont> read_product_fonts(const core::String& list) {
  core::Vector<ProductFont> fonts;
  core::String rest = list;
  for (;;) {
    ProductFont font;
    font.face = cut_quoted_run(rest.trim_left());
    font.file = cut_quoted_run(rest.trim_left());
    if (font.face.is_empty() || font.file.is_empty()) break;
    fonts.append(font);
  }
  return fonts;
}

}  // namespace install
