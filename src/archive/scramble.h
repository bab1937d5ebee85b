// Header-block scrambling: an exclusive or of the block with the archive's 32-bit key.
#pragma once

#include <stdint.h>

namespace archive {

// Unscrambles `length` bytes at `data` in place with `key`: every whole little-endian
// 32-bit word is xored with the key, the 0 to 3 bytes left over with the key's low
// bytes in order. A null pointer or a length of 0 or less does nothing.
void unscramble(uint8_t* data, int32_t length, uint32_t key);

// Scrambles a block for storage; the exact inverse of `unscramble` (being an exclusive
// or, it is the same operation, kept as its own name so writers read as writers).
void scramble(uint8_t* data, int32_t length, uint32_t key);

}  // namespace archive
