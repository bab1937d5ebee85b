// Simple block encoder: literal runs, repeats and greedy copies from a small hash table.
#pragma once

#include <stdint.h>

namespace archive {

// Bytes `encode_block` may need for `in_len` input bytes (header included).
int64_t encode_block_bound(int in_len);

// Encodes `in` as a compressed block into `out`. Returns the bytes written, or -1
// when `in_len` is negative, `out` is smaller than needed, memory is short, or the
// block would not stay below the block size limit (2^28 bytes).
int encode_block(const uint8_t* in, int in_len, uint8_t* out, int64_t out_capacity);

}  // namespace archive
