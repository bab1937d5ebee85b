// Writes the token bit stream of a compressed block into a caller-provided buffer.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "archive/block_format.h"

namespace archive {

// Puts the 8-byte block header (magic, expected output length) at `out`.
inline void put_block_header(uint8_t* out, uint32_t expected_length) {
  const uint32_t words[2] = {block::kMagic, expected_length};
  for (int w = 0; w < 2; ++w) {
    for (int i = 0; i < 4; ++i) out[4 * w + i] = static_cast<uint8_t>(words[w] >> (8 * i));
  }
}

// Appends fields least significant bit first. Writing past the capacity sets
// `overflowed` and drops the bits; the caller sizes the buffer from the known cost.
class BitWriter {
 public:
  BitWriter(uint8_t* data, size_t capacity) : data_(data), capacity_(capacity) {}

  // `width` is 0..32.
  void put(uint32_t value, int width) {
    acc_ |= static_cast<uint64_t>(value) << fill_;
    fill_ += width;
    bits_ += static_cast<uint64_t>(width);
    if (fill_ >= 32) {
      emit(4);
    }
  }

  void put_number(block::NumberShape shape, uint32_t value) {
    const uint32_t ones = block::number_ones(shape, value);
    // The ones and their 0 terminator, then the field.
    for (uint32_t left = ones; left > 0;) {
      const int n = left > 31 ? 31 : static_cast<int>(left);
      put((uint32_t{1} << n) - 1, n);
      left -= static_cast<uint32_t>(n);
    }
    put(0, 1);
    put(value, block::number_width(shape, ones));
  }

  // 1..2^32 raw bytes.
  void literal_run(const uint8_t* bytes, uint64_t count) {
    put(0, 1);
    put_number(block::kLiteralCount, static_cast<uint32_t>(count - block::kLiteralBias));
    for (uint64_t i = 0; i < count; ++i) put(bytes[i], 8);
  }

  // `count` copies of `value`, 3..2^32 + 2.
  void repeat(uint8_t value, uint64_t count) {
    put(3, 2);
    put(value, 8);
    put_number(block::kRepeatCount, static_cast<uint32_t>(count - block::kRepeatBias));
  }

  // `length` bytes from `distance` back; 4 <= length <= distance.
  void copy(uint64_t length, uint64_t distance) {
    put(1, 2);
    put_number(block::kCopyLength, static_cast<uint32_t>(length - block::kCopyLengthBias));
    put_number(block::kCopyDistance, static_cast<uint32_t>(distance - block::kCopyDistanceBias));
  }

  // Flushes the last partial byte; returns the bytes written.
  size_t finish() {
    while (fill_ > 0) emit(1);
    fill_ = 0;
    return used_;
  }

  uint64_t bit_count() const { return bits_; }
  bool overflowed() const { return overflowed_; }

 private:
  void emit(int bytes) {
    for (int i = 0; i < bytes; ++i) {
      if (used_ < capacity_) {
        data_[used_++] = static_cast<uint8_t>(acc_);
      } else {
        overflowed_ = true;
      }
      acc_ >>= 8;
      fill_ = fill_ >= 8 ? fill_ - 8 : 0;
    }
  }

  uint8_t* data_;
  size_t capacity_;
  size_t used_ = 0;
  uint64_t acc_ = 0;
  int fill_ = 0;
  uint64_t bits_ = 0;
  bool overflowed_ = false;
};

}  // namespace archive
