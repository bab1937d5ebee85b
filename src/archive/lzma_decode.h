// The archive data's second codec: raw LZMA (a range coder over literals, matches and
// repeated matches, with the properties byte lc/lp/pb and a dictionary size). The decoder
// writes straight into the whole output buffer, so the dictionary is the output itself;
// every input and output access is checked.
#pragma once

#include <stdint.h>

namespace archive {

struct LzmaProperties {
  uint32_t literal_context_bits = 3;   // lc, 0..8
  uint32_t literal_position_bits = 0;  // lp, 0..4
  uint32_t position_bits = 2;          // pb, 0..4
  uint32_t dictionary_size = 0;        // matches reach at most this far back
};

// The five stored property bytes: (pb * 5 + lp) * 9 + lc, then the dictionary size in
// little-endian order. False for a first byte of 225 or more.
bool read_lzma_properties(const uint8_t bytes[5], LzmaProperties& properties);
void write_lzma_properties(const LzmaProperties& properties, uint8_t bytes[5]);

enum class LzmaResult {
  Decoded,
  BadProperties,   // lc, lp or pb out of range
  Truncated,       // the stream ends before the output is complete
  Corrupt,         // a bad first byte, a distance before the start or beyond the
                   // dictionary, a match past the end of the output, an end marker
                   // too early, or bytes that do not end the stream cleanly
  NoMemory,        // the probability tables could not be allocated
};

// Decodes `in` into exactly `out_size` bytes of `out`. The stream may end with the end
// marker after the last byte or without one; anything else after the output is complete
// is corruption.
LzmaResult lzma_decode(const uint8_t* in, int64_t in_size, const LzmaProperties& properties, uint8_t* out,
                       int64_t out_size);

}  // namespace archive
