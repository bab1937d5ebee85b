// The archive compressor: turns bytes into one compressed block at a chosen level.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace qvin {

enum class CompressionLevel {
  Fast,    // greedy with a one-step lazy look, hash chains over the whole input
  Strong,  // optimal parse over exact bit costs, binary-tree matches over the whole input
};

// The largest input one block can hold: its expected length is a signed 32-bit count.
inline constexpr uint64_t kMaxBlockInput = 0x7FFFFFFF;

// Compresses `input` into a block (magic, length, token bits) that decodes to it
// exactly. Copies may reach back over the whole input, so one solid stream of all
// files shares repeats across files. Throws std::length_error when the input is
// longer than kMaxBlockInput or the block would reach 2^28 bytes. Uses up to
// `threads` threads (0: one per core, at most 2 are used).
std::vector<uint8_t> compress_block(std::span<const uint8_t> input, CompressionLevel level, unsigned threads = 0);

}  // namespace qvin
