// Fast block decoder: fields are peeked from 64-bit loads, bytes move in bulk.
#include "archive/decompress.h"

#include <string.h>

#include "archive/block_format.h"
#include "core/memory.h"

namespace archive {
namespace {

inline uint64_t load64(const uint8_t* p) {
  uint64_t v;
  memcpy(&v, p, 8);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  v = __builtin_bswap64(v);
#endif
  return v;
}

inline void store64(uint8_t* p, uint64_t v) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  v = __builtin_bswap64(v);
#endif
  memcpy(p, &v, 8);
}

inline uint32_t load32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

// A peek yields at least this many valid bits (64 minus a shift of up to 7).
constexpr uint32_t kPeekBits = 57;

struct Bits {
  const uint8_t* data;
  uint32_t size;        // bytes
  uint64_t total_bits;  // 8 * size

  // The bits from bit position `pos` on; bits past the end read as 0.
  inline uint64_t peek(uint64_t pos) const {
    const uint64_t byte = pos >> 3;
    uint64_t v;
    if (byte + 8 <= size) {
      v = load64(data + byte);
    } else {
      v = 0;
      for (uint64_t i = 0; byte + i < size; ++i) v |= static_cast<uint64_t>(data[byte + i]) << (8 * i);
    }
    return v >> (pos & 7);
  }
};

inline uint32_t trailing_ones(uint64_t v) {
  return v == ~uint64_t{0} ? 64 : static_cast<uint32_t>(__builtin_ctzll(~v));
}

inline uint32_t field_mask(int width) { return width >= 32 ? 0xFFFFFFFFu : (uint32_t{1} << width) - 1; }

// A number whose run of 1 bits does not fit one peek: count it in steps.
__attribute__((noinline)) bool read_long_number(const Bits& bits, uint64_t& pos, block::NumberShape shape,
                                                uint32_t& value) {
  uint64_t p = pos;
  uint64_t ones = 0;
  constexpr uint64_t kStep = 56;
  constexpr uint64_t kStepMask = (uint64_t{1} << kStep) - 1;
  for (;;) {
    if (p >= bits.total_bits) return false;
    const uint64_t v = bits.peek(p);
    if ((v & kStepMask) == kStepMask) {
      p += kStep;
      ones += kStep;
      continue;
    }
    const uint32_t t = trailing_ones(v);
    p += t;
    ones += t;
    break;
  }
  // p is the terminating 0 bit; padding past the end reads as 0 too.
  if (p >= bits.total_bits) return false;
  const int width = block::number_width(shape, ones > 64 ? 64 : static_cast<uint32_t>(ones));
  const uint64_t field = p + 1;
  if (field + width > bits.total_bits) return false;
  value = static_cast<uint32_t>(bits.peek(field)) & field_mask(width);
  pos = field + width;
  return true;
}

__attribute__((always_inline)) inline bool read_number(const Bits& bits, uint64_t& pos, block::NumberShape shape,
                                                       uint32_t& value) {
  const uint64_t v = bits.peek(pos);
  const uint32_t ones = trailing_ones(v);
  if (ones >= kPeekBits) return read_long_number(bits, pos, shape, value);
  const int width = block::number_width(shape, ones);
  const uint64_t field = pos + ones + 1;
  if (field + width > bits.total_bits) return false;
  if (ones + 1 + width <= kPeekBits) {
    value = static_cast<uint32_t>(v >> (ones + 1)) & field_mask(width);
  } else {
    value = static_cast<uint32_t>(bits.peek(field)) & field_mask(width);
  }
  pos = field + width;
  return true;
}

// Copies `count` bytes that start at bit `pos`; the caller has checked that the
// bits exist. `room` is how many bytes may be written at `out` (>= count).
inline void copy_literals(const Bits& bits, uint64_t pos, uint8_t* out, uint64_t count, uint64_t room) {
  const uint8_t* in = bits.data + (pos >> 3);
  const unsigned shift = static_cast<unsigned>(pos & 7);
  if (shift == 0) {
    memcpy(out, in, count);
    return;
  }
  // The last byte read is in[count], which exists because its low bits are needed.
  const uint64_t in_room = bits.size - (pos >> 3);  // > count
  uint64_t i = 0;
  for (; i + 8 <= count; i += 8) {
    store64(out + i, load64(in + i) >> shift | static_cast<uint64_t>(in[i + 8]) << (64 - shift));
  }
  if (i == count) return;
  if (i + 8 <= room && i + 9 <= in_room) {
    // One wide step past the run; the surplus bytes are overwritten by later tokens.
    store64(out + i, load64(in + i) >> shift | static_cast<uint64_t>(in[i + 8]) << (64 - shift));
    return;
  }
  for (; i < count; ++i) out[i] = static_cast<uint8_t>(in[i] >> shift | in[i + 1] << (8 - shift));
}

// A decoded token waiting to be carried out. Tokens are decoded in batches so the
// sources of copies, often far back, can be prefetched while the batch is read.
struct Op {
  enum Kind : uint8_t { kLiteral, kRepeat, kCopy } kind;
  uint8_t value;    // repeat
  uint32_t count;   // bytes produced, at most the expected length
  uint64_t source;  // literal: bit position; copy: distance
};

constexpr int kBatch = 16;

bool decode_tokens(const Bits& bits, uint8_t* out, uint64_t expected) {
  uint64_t pos = 8 * block::kHeaderSize;
  uint64_t decoded = 0;   // output length after the tokens decoded so far
  uint64_t produced = 0;  // output length after the tokens carried out
  Op ops[kBatch];
  while (produced < expected) {
    int n = 0;
    bool failed = false;
    for (; n < kBatch && decoded < expected; ++n) {
      const uint64_t lead = bits.peek(pos);
      const uint64_t room = expected - decoded;
      uint32_t field;
      Op& op = ops[n];
      if ((lead & 1) == 0) {
        pos += 1;
        if (!read_number(bits, pos, block::kLiteralCount, field)) {
          failed = true;
          break;
        }
        const uint64_t count = field + block::kLiteralBias;
        if (count > room || pos + 8 * count > bits.total_bits) {
          failed = true;
          break;
        }
        op = Op{Op::kLiteral, 0, static_cast<uint32_t>(count), pos};
        pos += 8 * count;
      } else if (lead & 2) {
        if (pos + 10 > bits.total_bits) {
          failed = true;
          break;
        }
        const uint8_t value = static_cast<uint8_t>(lead >> 2);
        pos += 10;
        if (!read_number(bits, pos, block::kRepeatCount, field)) {
          failed = true;
          break;
        }
        const uint64_t count = field + block::kRepeatBias;
        if (count > room) {
          failed = true;
          break;
        }
        op = Op{Op::kRepeat, value, static_cast<uint32_t>(count), 0};
      } else {
        pos += 2;
        uint32_t a, b;
        if (!read_number(bits, pos, block::kCopyLength, a) || !read_number(bits, pos, block::kCopyDistance, b)) {
          failed = true;
          break;
        }
        const uint64_t length = a + block::kCopyLengthBias;
        const uint64_t distance = b + block::kCopyDistanceBias;
        // The source must lie wholly in what exists: distance >= length, no overlap.
        if (distance > decoded || length > distance || length > room) {
          failed = true;
          break;
        }
        __builtin_prefetch(out + decoded - distance);
        op = Op{Op::kCopy, 0, static_cast<uint32_t>(length), distance};
      }
      decoded += op.count;
    }
    // A damaged token fails the block; what the batch would have written is moot.
    if (failed) return false;
    for (int i = 0; i < n; ++i) {
      const Op& op = ops[i];
      const uint64_t room = expected - produced;
      uint8_t* dst = out + produced;
      switch (op.kind) {
        case Op::kLiteral:
          copy_literals(bits, op.source, dst, op.count, room);
          break;
        case Op::kRepeat:
          memset(dst, op.value, op.count);
          break;
        case Op::kCopy: {
          const uint8_t* src = dst - op.source;
          if (op.count <= 16 && room >= 16) {
            // Both words are loaded before either is stored, so the surplus bytes
            // past the copy never feed its own output.
            const uint64_t w0 = load64(src), w1 = load64(src + 8);
            store64(dst, w0);
            store64(dst + 8, w1);
          } else if (room >= ((op.count + 15) & ~uint64_t{15})) {
            // Forward in 16-byte steps: every byte a step reads below the copy's
            // length lies before dst, as distance >= length.
            for (uint32_t j = 0; j < op.count; j += 16) {
              const uint64_t w0 = load64(src + j), w1 = load64(src + j + 8);
              store64(dst + j, w0);
              store64(dst + j + 8, w1);
            }
          } else {
            memcpy(dst, src, op.count);
          }
          break;
        }
      }
      produced += op.count;
    }
  }
  return true;
}

}  // namespace

int32_t block_output_length(const uint8_t* in, int in_len) {
  if (in == nullptr || in_len < block::kHeaderSize || in_len > block::kMaxBlockSize) return -1;
  if (load32(in) != block::kMagic) return -1;
  const int32_t expected = static_cast<int32_t>(load32(in + 4));
  return expected < 0 ? -1 : expected;
}

bool decompress_into(const uint8_t* in, int in_len, uint8_t* out, int out_len) {
  const int32_t expected = block_output_length(in, in_len);
  if (expected < 0 || expected != out_len || (expected > 0 && out == nullptr)) return false;
  const Bits bits{in, static_cast<uint32_t>(in_len), 8 * static_cast<uint64_t>(in_len)};
  return decode_tokens(bits, out, static_cast<uint64_t>(expected));
}

bool decompress(const uint8_t* in, int in_len, uint8_t** out, int* out_len) {
  if (out == nullptr || out_len == nullptr) return false;
  const int32_t expected = block_output_length(in, in_len);
  if (expected < 0) return false;
  uint8_t* buffer = allocate_decompressed(expected);
  if (buffer == nullptr) return false;
  if (!decompress_into(in, in_len, buffer, expected)) {
    free_decompressed(buffer);
    return false;
  }
  *out = buffer;
  *out_len = expected;
  return true;
}

uint8_t* allocate_decompressed(int32_t size) {
  if (size < 0) return nullptr;
  return static_cast<uint8_t*>(core::try_allocate(static_cast<size_t>(size) + 1));
}

void free_decompressed(uint8_t* buffer) { core::release(buffer); }

}  // namespace archive
