// Exact bit costs of the block format's tokens, for the parsers' decisions.
#pragma once

#include <bit>
#include <cstdint>

#include "archive/block_format.h"

namespace qvin::cost {

// Bits of number(base, step) holding `value`: ones, their terminator, the field.
constexpr uint32_t number_bits(int base, int step, uint32_t value) {
  const int needed = std::bit_width(value);
  const int ones = needed <= base ? 0 : (needed - base + step - 1) / step;
  const int width = base + ones * step > 32 ? 32 : base + ones * step;
  return static_cast<uint32_t>(ones + 1 + width);
}

// A literal run's leading bit and count, without its bytes.
constexpr uint32_t literal_header(uint32_t count) { return 1 + number_bits(2, 2, count - 1); }

// Extra header bits when a literal run of `count` grows by one byte.
constexpr uint32_t literal_header_growth(uint32_t count) { return literal_header(count + 1) - literal_header(count); }

constexpr uint32_t repeat(uint64_t count) { return 10 + number_bits(1, 1, static_cast<uint32_t>(count - 3)); }

constexpr uint32_t copy_length(uint32_t length) { return number_bits(2, 1, length - 4); }
constexpr uint32_t copy_distance(uint32_t distance) { return number_bits(12, 2, distance - 4); }
constexpr uint32_t copy(uint32_t length, uint32_t distance) {
  return 2 + copy_length(length) + copy_distance(distance);
}

// The shared definitions and these must agree.
static_assert(copy(4, 4) == archive::block::copy_bits(4, 4));
static_assert(copy(70000, 1u << 30) == archive::block::copy_bits(70000, 1u << 30));
static_assert(repeat(1000) == archive::block::repeat_bits(1000));
static_assert(literal_header(17) + 8 * 17 == archive::block::literal_run_bits(17));
static_assert(number_bits(12, 2, 0xFFFFFFFFu) == 43);

}  // namespace qvin::cost
