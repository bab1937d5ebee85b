// Header-block scrambling: an exclusive or of the block with the archive's 32-bit key.
#include "archive/scramble.h"

namespace archive {

void unscramble(uint8_t* data, int32_t length, uint32_t key) {
  if (data == nullptr || length <= 0) return;
  // Byte by byte against the key's bytes in little-endian order is the same as xoring
  // whole little-endian words, on any host byte order, and needs no alignment.
  const uint8_t key_bytes[4] = {static_cast<uint8_t>(key), static_cast<uint8_t>(key >> 8),
                                static_cast<uint8_t>(key >> 16), static_cast<uint8_t>(key >> 24)};
  for (int32_t i = 0; i < length; ++i) data[i] ^= key_bytes[i & 3];
}

void scramble(uint8_t* data, int32_t length, uint32_t key) { unscramble(data, length, key); }

}  // namespace archive
