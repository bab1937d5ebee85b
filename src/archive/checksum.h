// The archive checksum: guards the header block, the archive data, the executable and each file.
#pragma once

#include <stdint.h>

namespace archive {

// The checksum's starting value, and the result for an empty or null input.
inline constexpr uint32_t kChecksumSeed = 0x79E2BC9Du;

// The sum, modulo 2^32, of the seed, every whole little-endian 32-bit word, every byte
// left over as a signed byte, and the length. A null pointer or a length of 0 or less
// gives the seed.
uint32_t archive_checksum(const void* bytes, int64_t length);

// Continues a checksum over more bytes without the length term, for data that arrives in
// pieces: checksum_words(seed, ...) over the pieces, then + total length. Every piece but
// the last must hold a multiple of 4 bytes.
uint32_t checksum_words(uint32_t sum, const void* bytes, int64_t length);

}  // namespace archive
