// Block decompressor: expands a compressed block (magic, expected length, token bits).
#pragma once

#include <stdint.h>

namespace archive {

// The expected output length of a block, or -1 when the buffer cannot be a block:
// null, shorter than the 8-byte header, 2^28 bytes or longer, a wrong magic, or a
// negative expected length.
int32_t block_output_length(const uint8_t* in, int in_len);

// Decodes a block into `out`, which holds exactly `out_len` bytes; `out_len` must be
// the block's expected length. Returns false when the block is damaged or the length
// differs; `out` may then hold partial output.
bool decompress_into(const uint8_t* in, int in_len, uint8_t* out, int out_len);

// Decodes a block into a new buffer of exactly the expected length. On success sets
// `*out` and `*out_len` (the caller frees the buffer with `free_decompressed`); on
// failure returns false and leaves both untouched. The input stays with its owner.
bool decompress(const uint8_t* in, int in_len, uint8_t** out, int* out_len);

// Releases a buffer returned by `decompress` or `decompress_reference`; null is fine.
void free_decompressed(uint8_t* buffer);

// Allocates an output buffer of `size` bytes (at least one byte is reserved so an
// empty output is still a valid pointer); null when memory is short.
uint8_t* allocate_decompressed(int32_t size);

}  // namespace archive
