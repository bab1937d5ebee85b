// Layout of a compressed block: header words, token shapes, count biases and limits.
#pragma once

#include <stdint.h>

namespace archive::block {

// Header: magic then the expected output length, both 32-bit little-endian.
inline constexpr uint32_t kMagic = 0x9EC72BA1u;
inline constexpr int kHeaderSize = 8;

// The bit position is a 32-bit signed count of the whole buffer, header included,
// so a block must stay below 2^28 bytes.
inline constexpr int kMaxBlockSize = (1 << 28) - 1;

// A variable-width number is `ones` 1 bits, a 0 bit, then a field of
// min(base + ones * step, 32) bits, least significant bit first.
struct NumberShape {
  int base;
  int step;
};
inline constexpr int kMaxNumberWidth = 32;

// Tokens, by their leading bits (first bit read first):
//   0    literal run: n = number(2, 2); then n + 1 raw bytes, 8 bits each
//   1 1  repeat:      8-bit value; n = number(1, 1); the value n + 3 times
//   1 0  copy:        a = number(2, 1), b = number(12, 2); length a + 4 from b + 4 back
inline constexpr NumberShape kLiteralCount{2, 2};
inline constexpr NumberShape kRepeatCount{1, 1};
inline constexpr NumberShape kCopyLength{2, 1};
inline constexpr NumberShape kCopyDistance{12, 2};

inline constexpr uint64_t kLiteralBias = 1;
inline constexpr uint64_t kRepeatBias = 3;
inline constexpr uint64_t kCopyLengthBias = 4;
inline constexpr uint64_t kCopyDistanceBias = 4;

// Smallest and largest counts a token can express.
inline constexpr uint64_t kMinRepeat = kRepeatBias;
inline constexpr uint64_t kMinCopy = kCopyLengthBias;
inline constexpr uint64_t kMinDistance = kCopyDistanceBias;
inline constexpr uint64_t kMaxFieldValue = 0xFFFFFFFFu;

// Field width for a run of `ones` 1 bits.
constexpr int number_width(NumberShape shape, uint32_t ones) {
  return ones >= kMaxNumberWidth ? kMaxNumberWidth
         : shape.base + static_cast<int>(ones) * shape.step > kMaxNumberWidth
             ? kMaxNumberWidth
             : shape.base + static_cast<int>(ones) * shape.step;
}

// Fewest 1 bits whose field holds `value`.
constexpr uint32_t number_ones(NumberShape shape, uint32_t value) {
  uint32_t ones = 0;
  while (number_width(shape, ones) < kMaxNumberWidth && (value >> number_width(shape, ones)) != 0) ++ones;
  return ones;
}

// Bits taken by the shortest encoding of `value`.
constexpr int number_bits(NumberShape shape, uint32_t value) {
  const uint32_t ones = number_ones(shape, value);
  return static_cast<int>(ones) + 1 + number_width(shape, ones);
}

// Bits of whole tokens; counts must lie within what the token can express.
constexpr int literal_run_bits(uint32_t count) {
  return 1 + number_bits(kLiteralCount, count - 1) + 8 * static_cast<int>(count);
}
constexpr int repeat_bits(uint64_t count) {
  return 2 + 8 + number_bits(kRepeatCount, static_cast<uint32_t>(count - kRepeatBias));
}
constexpr int copy_bits(uint32_t length, uint32_t distance) {
  return 2 + number_bits(kCopyLength, length - 4) + number_bits(kCopyDistance, distance - 4);
}

static_assert(number_bits(kLiteralCount, 0) == 3);
static_assert(number_bits(kLiteralCount, 4) == 6);
static_assert(number_bits(kCopyDistance, 4095) == 13);
static_assert(number_bits(kCopyDistance, 0xFFFFFFFFu) == 43);
static_assert(number_bits(kRepeatCount, 1) == 2);
static_assert(copy_bits(4, 4) == 18);

}  // namespace archive::block
