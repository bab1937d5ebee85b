// Block decompressor: expands a compressed block (magic, expected length, token bits).
#pragma once

#include <stdint.h>

namespace core {
class String;
}

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

// Decodes the block held by `s` in place: on success `s` holds the output; on failure
// it is unchanged and the result is false.
bool decompress_string(core::String& s);

// Releases a buffer returned by `decompress` or `decompress_reference`; null is fine.
void free_decompressed(uint8_t* buffer);

// An output buffer of `size` bytes from the foundation's allocator, with one byte more
// so that a String can adopt it as it is; null when memory is short (the size comes
// from the data, so a failure is the block's, not the program's).
uint8_t* allocate_decompressed(int32_t size);

}  // namespace archive
