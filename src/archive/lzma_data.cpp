// Archive data coded with LZMA: its header and its decoding.
#include "archive/lzma_data.h"

namespace archive {

int64_t lzma_data_length(const uint8_t* in, int64_t length) {
  if (in == nullptr || length < kLzmaDataHeaderSize) return -1;
  LzmaProperties properties;
  if (!read_lzma_properties(in, properties)) return -1;
  uint64_t expanded = 0;
  for (int i = 7; i >= 0; --i) expanded = (expanded << 8) | in[5 + i];
  if (expanded > static_cast<uint64_t>(kMaxLzmaExpandedLength)) return -1;
  return static_cast<int64_t>(expanded);
}

bool decode_lzma_data(const uint8_t* in, int64_t length, uint8_t* out, int64_t out_length) {
  if (lzma_data_length(in, length) != out_length) return false;
  LzmaProperties properties;
  read_lzma_properties(in, properties);
  return lzma_decode(in + kLzmaDataHeaderSize, length - kLzmaDataHeaderSize, properties, out, out_length) ==
         LzmaResult::Decoded;
}

void write_lzma_data_header(const LzmaProperties& properties, int64_t expanded_length,
                            uint8_t header[kLzmaDataHeaderSize]) {
  write_lzma_properties(properties, header);
  uint64_t value = static_cast<uint64_t>(expanded_length);
  for (int i = 0; i < 8; ++i) header[5 + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace archive
