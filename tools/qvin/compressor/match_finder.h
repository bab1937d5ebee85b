// Binary-tree match finder over the whole input: for each position, the nearest
// earlier strings of every useful length, at any distance.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "qvin/compressor/large_array.h"

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

struct MatchFinderOptions {
  int depth = 16;             // tree steps per search
  uint32_t nice_length = 64;  // a match this long ends the search and is taken at once
  int skip_depth = 4;         // tree steps to enter a position inside a taken match (0: none)
  unsigned parts = 1;         // independent partitions, one per thread
};

// Every position is entered in a binary tree keyed by the bytes that follow it; a
// search walks from the newest position down, so matches come in order of growing
// distance. Copies may not overlap their own output, so a match is usable only up
// to its distance: a match is reported when it is longer after that cut than all
// before it.
//
// A run of one byte value or a match of at least nice_length bytes is what the
// parser takes at once, so the positions it covers are only entered, with a short
// walk, not searched.
//
// The trees are split by the hash of a position's first 4 bytes into `parts`
// partitions that share no node, so one thread per partition can work at once.
class MatchFinder {
 public:
  MatchFinder(const uint8_t* data, size_t size, const MatchFinderOptions& options);

  // Finds the matches of partition `part` at the positions [begin, end); positions
  // of other partitions get none. Each partition visits its chunks in order, with
  // no gaps from 0; different partitions may run at the same time.
  void find_chunk(size_t begin, size_t end, unsigned part, MatchChunk& chunk);

  const MatchFinderOptions& options() const { return options_; }

 private:
  // Enters `pos` and writes its matches to `out` (room for `depth` entries).
  size_t find(size_t pos, uint32_t hash, int depth, Match* out);
  uint32_t hash(size_t pos) const;
  unsigned part_of(uint32_t hash) const {
    return static_cast<unsigned>((static_cast<uint64_t>(hash) * options_.parts) >> hash_bits_);
  }

  const uint8_t* data_;
  size_t size_;
  MatchFinderOptions options_;
  int hash_bits_;
  LargeArray<uint32_t> head_;
  LargeArray<uint32_t> tree_;  // two children per position: smaller, larger
};

// Count of equal bytes at a and b, up to `limit`.
uint32_t match_length(const uint8_t* a, const uint8_t* b, uint32_t limit);

}  // namespace qvin
