// Reference block decoder: reads the token stream bit by bit into an output reserved at its final size.
#include "archive/decompress_reference.h"

#include <string.h>

#include "archive/block_format.h"
#include "archive/decompress.h"

namespace archive {
namespace {

class BitReader {
 public:
  BitReader(const uint8_t* data, int32_t size) : data_(data), total_(size * 8), pos_(8 * block::kHeaderSize) {}

  int32_t left() const { return total_ - pos_; }

  // The next bit; the end of the stream reads as 0.
  uint32_t bit() {
    if (pos_ >= total_) return 0;
    const uint32_t b = (data_[pos_ >> 3] >> (pos_ & 7)) & 1;
    ++pos_;
    return b;
  }

  // A field of `width` bits, least significant first.
  bool field(int width, uint32_t& value) {
    if (left() < width) return false;
    value = 0;
    for (int i = 0; i < width; ++i) value |= bit() << i;
    return true;
  }

  bool number(block::NumberShape shape, uint32_t& value) {
    if (left() < 2) return false;
    // Counted wide so a long run of ones cannot wrap the width.
    uint32_t ones = 0;
    for (;;) {
      if (left() <= 0) return false;
      if (bit() == 0) break;
      if (ones < block::kMaxNumberWidth) ++ones;
    }
    return field(block::number_width(shape, ones), value);
  }

 private:
  const uint8_t* data_;
  int32_t total_;
  int32_t pos_;
};

// Output reserved at its final size; an append past it fails the token, which
// fails the block just as a longer output would.
class Output {
 public:
  Output(uint8_t* data, int64_t capacity) : data_(data), capacity_(capacity) {}

  int64_t size() const { return size_; }
  bool has_room(uint64_t count) const { return count <= static_cast<uint64_t>(capacity_ - size_); }
  void push(uint8_t byte) { data_[size_++] = byte; }
  void append(const uint8_t* bytes, int64_t count) {
    memcpy(data_ + size_, bytes, static_cast<size_t>(count));
    size_ += count;
  }
  uint8_t at(int64_t index) const { return data_[index]; }

 private:
  uint8_t* data_;
  int64_t capacity_;
  int64_t size_ = 0;
};

constexpr int kRepeatPiece = 1024;

bool literal_run(BitReader& reader, Output& output) {
  uint32_t n;
  if (!reader.number(block::kLiteralCount, n)) return false;
  const uint64_t count = n + block::kLiteralBias;
  if (!output.has_room(count)) return false;
  if (static_cast<uint64_t>(reader.left()) < count * 8) return false;
  for (uint64_t i = 0; i < count; ++i) {
    uint32_t byte = 0;
    reader.field(8, byte);
    output.push(static_cast<uint8_t>(byte));
  }
  return true;
}

bool repeat(BitReader& reader, Output& output, uint8_t* piece) {
  uint32_t value, n;
  if (!reader.field(8, value)) return false;
  if (!reader.number(block::kRepeatCount, n)) return false;
  uint64_t count = n + block::kRepeatBias;
  if (!output.has_room(count)) return false;
  memset(piece, static_cast<int>(value), kRepeatPiece);
  while (count > 0) {
    const int64_t step = count < kRepeatPiece ? static_cast<int64_t>(count) : kRepeatPiece;
    output.append(piece, step);
    count -= static_cast<uint64_t>(step);
  }
  return true;
}

bool copy(BitReader& reader, Output& output) {
  uint32_t a, b;
  if (!reader.number(block::kCopyLength, a)) return false;
  if (!reader.number(block::kCopyDistance, b)) return false;
  const int64_t length = a + static_cast<int64_t>(block::kCopyLengthBias);
  const int64_t distance = b + static_cast<int64_t>(block::kCopyDistanceBias);
  const int64_t start = output.size() - distance;
  if (start < 0 || start + length > output.size()) return false;
  if (!output.has_room(static_cast<uint64_t>(length))) return false;
  for (int64_t i = 0; i < length; ++i) output.push(output.at(start + i));
  return true;
}

}  // namespace

bool decompress_reference(const uint8_t* in, int in_len, uint8_t** out, int* out_len) {
  if (out == nullptr || out_len == nullptr) return false;
  const int32_t expected = block_output_length(in, in_len);
  if (expected < 0) return false;
  uint8_t* buffer = allocate_decompressed(expected);
  if (buffer == nullptr) return false;

  BitReader reader(in, in_len);
  Output output(buffer, expected);
  uint8_t piece[kRepeatPiece];
  while (output.size() < expected) {
    bool ok;
    if (reader.bit() == 0) {
      ok = literal_run(reader, output);
    } else if (reader.bit() == 1) {
      ok = repeat(reader, output, piece);
    } else {
      ok = copy(reader, output);
    }
    if (!ok) break;
  }
  if (output.size() != expected) {
    free_decompressed(buffer);
    return false;
  }
  *out = buffer;
  *out_len = expected;
  return true;
}

}  // namespace archive
