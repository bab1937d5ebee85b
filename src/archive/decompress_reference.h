// Reference block decoder: one bit at a time, as plain as the format reads.
#pragma once

#include <stdint.h>

namespace archive {

// Same contract and results as `decompress`, for every input; slow. Tests, fuzzing
// and benchmarks measure the fast decoder against it. Free the output with
// `free_decompressed`.
bool decompress_reference(const uint8_t* in, int in_len, uint8_t** out, int* out_len);

}  // namespace archive
