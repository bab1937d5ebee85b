// Writes a parse as the block format's token bits: literal runs merged, repeats, copies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qvin {

// Tokens for one stretch of the input, written in input order. Adjacent literals
// become one run.
class TokenStream {
 public:
  // `input` is the whole input; the stretch starts at `begin`. The bits start after
  // `header_bytes` zero bytes (counted in the bits), which the caller fills in later.
  TokenStream(const uint8_t* input, size_t begin, size_t header_bytes = 0);

  void literals(size_t count);
  void repeat(uint64_t count);                    // the byte at the current position
  void copy(uint32_t length, uint32_t distance);  // 4 <= length <= distance <= position

  size_t position() const { return position_; }

  // Ends the stream: the bits, and their exact count through `bit_count`.
  std::vector<uint8_t> finish(uint64_t& bit_count);

 private:
  void flush_literals();
  void put(uint64_t value, int width);  // width <= 32
  void put_number(int base, int step, uint32_t value);

  const uint8_t* input_;
  size_t position_;
  size_t pending_ = 0;  // literal bytes not yet written, ending at position_
  std::vector<uint8_t> bytes_;
  uint64_t acc_ = 0;
  int fill_ = 0;
  uint64_t bits_ = 0;
};

// Appends `src_bits` bits of `src` to a bit string of `dst_bits` bits.
void append_bits(std::vector<uint8_t>& dst, uint64_t& dst_bits, const std::vector<uint8_t>& src, uint64_t src_bits);

}  // namespace qvin
