// The library's 32-bit text checksum (also the archive checksum and the String hash).
#pragma once

#include <stdint.h>

namespace core {

// The checksum's starting value, and the result for a null or empty input.
inline constexpr uint32_t kChecksumSeed = 2044902557u;  // 0x79E2BC9D

// The seed, plus every whole little-endian 32-bit word, plus each remaining byte taken
// as a signed byte, plus the length, all modulo 2^32. A null pointer or a length of 0 or
// less gives the seed.
uint32_t archive_checksum(const void* bytes, int64_t length);

// Continues a checksum over more bytes without the length term, for data that arrives in
// pieces: checksum_words(seed, ...) over the pieces, then + total length. Every piece but
// the last must hold a multiple of 4 bytes.
uint32_t checksum_words(uint32_t sum, const void* bytes, int64_t length);

}  // namespace core
