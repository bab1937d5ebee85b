// Fast parser: greedy with a one-step lazy look, over a bucketed hash table of the whole input.
#pragma once

#include <cstddef>
#include <cstdint>

#include "qvin/compressor/large_array.h"
#include "qvin/compressor/token_stream.h"

namespace qvin {

// Keeps the last few positions of every 4-byte hash, so copies reach back over the
// whole input; choices are made by the bits a token saves over literals.
class FastParser {
 public:
  FastParser(const uint8_t* data, size_t size);

  // Enters [begin, end) in the table without parsing them, so that a parse that
  // starts at `end` can copy from them.
  void enter(size_t begin, size_t end);

  // Parses [begin, end) into `out`, which stands at begin; positions before begin
  // must have been entered or parsed. No token reaches past end.
  void parse(size_t begin, size_t end, TokenStream& out);

 private:
  struct Choice {
    int32_t gain = 0;  // bits saved against literals; <= 0: none worth taking
    uint32_t length = 0;
    uint32_t distance = 0;  // 0: a repeat of the byte at the position
  };

  Choice best_at(size_t pos, size_t end, bool enter);
  void insert(size_t pos, uint32_t* bucket);
  uint32_t* bucket(size_t pos);
  uint32_t* slot(size_t pos);

  const uint8_t* data_;
  size_t size_;
  int hash_bits_;
  LargeArray<uint32_t> table_;  // kWays positions per bucket, newest first
};

}  // namespace qvin
