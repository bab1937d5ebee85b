// Archive data coded with LZMA: a 13-byte header, then the raw LZMA stream.
//
//   +0   5 bytes  the LZMA properties: (pb * 5 + lp) * 9 + lc, dictionary size (LE)
//   +5   8 bytes  the expanded length, little-endian, 0..0x7FFFFFFF
//   +13           the stream, with or without the end marker
//
// The archive's data checksum covers all of these bytes as stored; volumes split them
// like any other stored data.
#pragma once

#include <stdint.h>

#include "archive/lzma_decode.h"

namespace archive {

inline constexpr int kLzmaDataHeaderSize = 13;
inline constexpr int64_t kMaxLzmaExpandedLength = 0x7FFFFFFF;

// The expanded length, or -1 when the header is not valid: too short, a bad properties
// byte, or a length beyond what the archive data can hold.
int64_t lzma_data_length(const uint8_t* in, int64_t length);

// Decodes the stored bytes into exactly `out_length` bytes (the header's length). False
// for any damage.
bool decode_lzma_data(const uint8_t* in, int64_t length, uint8_t* out, int64_t out_length);

// The header for `expanded_length` bytes coded with `properties`.
void write_lzma_data_header(const LzmaProperties& properties, int64_t expanded_length,
                            uint8_t header[kLzmaDataHeaderSize]);

}  // namespace archive
