// Optimal parser: chooses tokens by least total bits over the exact costs of the format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "qvin/compressor/match_finder.h"
#include "qvin/compressor/token_stream.h"

namespace qvin {

// Finds the cheapest sequence of literal runs, repeats and copies for a chunk of
// positions, given every position's matches. A literal run's header cost is
// followed as the run grows. A match or run of at least `nice_length` bytes is
// taken as soon as it is seen, which keeps long matches linear in time.
class OptimalParser {
 public:
  OptimalParser(const uint8_t* data, size_t size, uint32_t nice_length);

  // Parses [begin, end) of the chunks, which all cover the same positions (one per
  // partition of the match finder), into `out`, which stands at begin. No token
  // reaches past end.
  void parse(std::span<const MatchChunk* const> chunks, TokenStream& out);

 private:
  enum Kind : uint8_t { kLiteral, kRepeat, kCopy };

  struct Node {
    uint32_t token_cost;    // cheapest way to end here with a repeat or copy
    uint32_t literal_cost;  // cheapest way to end here inside a literal run
    uint32_t run;           // that literal run's length
    uint32_t length;        // the token that ends here
    uint32_t distance;
    Kind kind;
    bool run_starts;  // the literal run began here (after a token)
  };

  void open(size_t start);
  void reach(size_t k);
  void relax(size_t k, uint32_t cost, Kind kind, uint32_t length, uint32_t distance);
  bool literal_best(size_t k) const { return nodes_[k].literal_cost < nodes_[k].token_cost; }
  void close(size_t k, TokenStream& out);
  size_t candidates(size_t pos, size_t end, size_t count);

  const uint8_t* data_;
  size_t size_;
  uint32_t nice_;
  size_t start_ = 0;   // position of node 0
  size_t filled_ = 0;  // nodes [0, filled_) are initialised
  std::vector<Node> nodes_;
  std::vector<Match> candidates_;
  std::vector<Node> path_;
};

}  // namespace qvin
