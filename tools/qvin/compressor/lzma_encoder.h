// The archive data's second codec: LZMA through liblzma, behind the header the runtime
// reads (archive/lzma_data.h).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "qvin/compressor/compressor.h"

namespace qvin {

// The stored form of `input`: the 13-byte header (properties, length) and a raw LZMA1
// stream with its end marker. The dictionary covers the whole input (4 KiB at least,
// 1.5 GiB at most); the strong level is preset 9 extreme, the fast one preset 6.
// Throws std::length_error for an input longer than the archive data can hold and
// std::runtime_error when liblzma fails (out of memory).
std::vector<uint8_t> lzma_encode_data(std::span<const uint8_t> input, CompressionLevel level);

}  // namespace qvin
