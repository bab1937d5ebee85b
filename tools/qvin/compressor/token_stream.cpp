// Writes a parse as the block format's token bits.
#include "qvin/compressor/token_stream.h"

#include <bit>

#include "archive/block_format.h"

namespace qvin {
namespace {

// Runs stay far below the 2^32 a count can say, so counts never near a wrap.
constexpr size_t kMaxLiteralRun = size_t{1} << 30;
constexpr uint64_t kMaxRepeat = uint64_t{1} << 30;

}  // namespace

TokenStream::TokenStream(const uint8_t* input, size_t begin, size_t header_bytes)
    : input_(input), position_(begin), bytes_(header_bytes), bits_(8 * static_cast<uint64_t>(header_bytes)) {}

void TokenStream::put(uint64_t value, int width) {
  acc_ |= value << fill_;
  fill_ += width;
  bits_ += static_cast<uint64_t>(width);
  while (fill_ >= 8) {
    bytes_.push_back(static_cast<uint8_t>(acc_));
    acc_ >>= 8;
    fill_ -= 8;
  }
}

void TokenStream::put_number(int base, int step, uint32_t value) {
  const int needed = std::bit_width(value);
  const int ones = needed <= base ? 0 : (needed - base + step - 1) / step;
  const int width = base + ones * step > 32 ? 32 : base + ones * step;
  for (int left = ones; left > 0;) {
    const int n = left > 24 ? 24 : left;
    put((uint64_t{1} << n) - 1, n);
    left -= n;
  }
  put(0, 1);
  put(value, width);
}

void TokenStream::flush_literals() {
  const uint8_t* p = input_ + position_ - pending_;
  while (pending_ > 0) {
    const size_t count = pending_ < kMaxLiteralRun ? pending_ : kMaxLiteralRun;
    put(0, 1);
    put_number(archive::block::kLiteralCount.base, archive::block::kLiteralCount.step,
               static_cast<uint32_t>(count - archive::block::kLiteralBias));
    size_t i = 0;
    if (fill_ == 0) {
      // Byte-aligned: the run goes in as it is.
      bytes_.insert(bytes_.end(), p, p + count);
      bits_ += 8 * static_cast<uint64_t>(count);
      i = count;
    }
    for (; i + 3 <= count; i += 3) put(p[i] | p[i + 1] << 8 | p[i + 2] << 16, 24);
    for (; i < count; ++i) put(p[i], 8);
    p += count;
    pending_ -= count;
  }
}

void TokenStream::literals(size_t count) {
  pending_ += count;
  position_ += count;
}

void TokenStream::repeat(uint64_t count) {
  flush_literals();
  const uint8_t value = input_[position_];
  position_ += count;
  while (count > 0) {
    uint64_t part = count < kMaxRepeat ? count : kMaxRepeat;
    // Never leave a tail too short for a repeat of its own.
    if (count - part > 0 && count - part < archive::block::kMinRepeat) part -= archive::block::kMinRepeat;
    put(3, 2);
    put(value, 8);
    put_number(archive::block::kRepeatCount.base, archive::block::kRepeatCount.step,
               static_cast<uint32_t>(part - archive::block::kRepeatBias));
    count -= part;
  }
}

void TokenStream::copy(uint32_t length, uint32_t distance) {
  flush_literals();
  put(1, 2);
  put_number(archive::block::kCopyLength.base, archive::block::kCopyLength.step,
             length - static_cast<uint32_t>(archive::block::kCopyLengthBias));
  put_number(archive::block::kCopyDistance.base, archive::block::kCopyDistance.step,
             distance - static_cast<uint32_t>(archive::block::kCopyDistanceBias));
  position_ += length;
}

std::vector<uint8_t> TokenStream::finish(uint64_t& bit_count) {
  flush_literals();
  if (fill_ > 0) bytes_.push_back(static_cast<uint8_t>(acc_));
  acc_ = 0;
  fill_ = 0;
  bit_count = bits_;
  return std::move(bytes_);
}

void append_bits(std::vector<uint8_t>& dst, uint64_t& dst_bits, const std::vector<uint8_t>& src, uint64_t src_bits) {
  const unsigned shift = static_cast<unsigned>(dst_bits & 7);
  const size_t src_bytes = static_cast<size_t>((src_bits + 7) / 8);
  dst.resize(static_cast<size_t>((dst_bits + 7) / 8));
  if (shift == 0) {
    dst.insert(dst.end(), src.begin(), src.begin() + static_cast<std::ptrdiff_t>(src_bytes));
  } else {
    // The last byte holds `shift` bits; src fills the rest of it and onwards.
    dst.back() = static_cast<uint8_t>(dst.back() & ((1u << shift) - 1));
    dst.reserve(dst.size() + src_bytes);
    for (size_t i = 0; i < src_bytes; ++i) {
      dst.back() = static_cast<uint8_t>(dst.back() | src[i] << shift);
      dst.push_back(static_cast<uint8_t>(src[i] >> (8 - shift)));
    }
  }
  dst_bits += src_bits;
  dst.resize(static_cast<size_t>((dst_bits + 7) / 8));
}

}  // namespace qvin
