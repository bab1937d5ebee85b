// Binary-tree match finder over the whole input: for each position, the nearest
// earlier strings of every useful length, at any distance.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "qvin/large_array.h"

namespace qvin {

// A match at some position: `length` equal bytes (up to the search limit) found
// `distance` bytes back.
struct Match {
  uint32_t length;
  uint32_t distance;
};

// The matches of a run of consecutive positions: those of position begin + i are
// matches[first[i]] .. matches[first[i + 1]).
struct MatchChunk {
  size_t begin = 0;
  size_t end = 0;
  std::vector<uint32_t> first;
  std::vector<Match> matches;
};

// Every position is entered in a binary tree keyed by the bytes that follow it;
// a search walks from the newest position down and is limited by `depth` steps
// and by `nice_length`, the length at which a match is taken as long enough.
//
// Copies may not overlap their own output, so a match is usable only up to its
// distance. Matches are reported in order of growing distance, each one longer
// after that cut than all before it. Positions must be visited in order from 0.
class MatchFinder {
 public:
  MatchFinder(const uint8_t* data, size_t size, int depth, uint32_t nice_length);

  // Enters `pos` and writes its matches to `out` (room for depth entries).
  size_t find(size_t pos, Match* out);

  // Runs `find` over [begin, end), which continues where the last call stopped.
  void find_chunk(size_t begin, size_t end, MatchChunk& chunk);

  uint32_t nice_length() const { return nice_; }
  int depth() const { return depth_; }

 private:
  const uint8_t* data_;
  size_t size_;
  int depth_;
  uint32_t nice_;
 public:
  size_t window_ = ~size_t{0};
 private:
  int hash_bits_;
  LargeArray<uint32_t> head_;
  LargeArray<uint32_t> tree_;  // two children per position: smaller, larger
};

// Count of equal bytes at a and b, up to `limit`.
uint32_t match_length(const uint8_t* a, const uint8_t* b, uint32_t limit);

}  // namespace qvin
