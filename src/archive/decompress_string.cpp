// Block decompression of a String in place (the header block's form).
#include "archive/decompress.h"
#include "core/string.h"

namespace archive {

bool decompress_string(core::String& s) {
  uint8_t* out;
  int out_len;
  if (!decompress(reinterpret_cast<const uint8_t*>(s.text()), s.length(), &out, &out_len)) return false;
  // The buffer comes from the foundation's allocator with room for the terminator.
  s.adopt_buffer(reinterpret_cast<char*>(out), out_len);
  return true;
}

}  // namespace archive
