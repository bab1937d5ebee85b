// Optimal parser over exact bit costs, one chunk of positions at a time.
#include "qvin/compressor/optimal_parser.h"

#include <algorithm>

#include "qvin/compressor/cost_model.h"

namespace qvin {
namespace {

constexpr uint32_t kInfinite = 0x7FFFFFFFu;
constexpr uint32_t kMinRepeat = 3;
constexpr uint32_t kMinCopy = 4;
// Distances tried as multiples of a match's period when it overlaps itself.
constexpr int kPeriodTries = 8;

}  // namespace

OptimalParser::OptimalParser(const uint8_t* data, size_t size, uint32_t nice_length)
    : data_(data), size_(size), nice_(nice_length) {}

void OptimalParser::open(size_t start) {
  start_ = start;
  filled_ = 0;
  reach(0);
  nodes_[0].token_cost = 0;
}

void OptimalParser::reach(size_t k) {
  if (k < filled_) return;
  if (k >= nodes_.size()) nodes_.resize(std::max(k + 1, nodes_.size() * 2));
  for (size_t j = filled_; j <= k; ++j) {
    Node& n = nodes_[j];
    n.token_cost = kInfinite;
    n.literal_cost = kInfinite;
  }
  filled_ = k + 1;
}

inline void OptimalParser::relax(size_t k, uint32_t cost, Kind kind, uint32_t length, uint32_t distance) {
  Node& n = nodes_[k];
  if (cost < n.token_cost) {
    n.token_cost = cost;
    n.kind = kind;
    n.length = length;
    n.distance = distance;
  }
}

// The usable matches at `pos`, ordered by distance, each longer (after the cut at
// its distance and at `end`) than the ones before; the last may reach nice_.
size_t OptimalParser::candidates(size_t pos, size_t end, size_t count) {
  // The finder's matches are already in candidates_; with several partitions
  // they may need sorting.
  bool sorted = true;
  for (size_t m = 1; m < count; ++m) sorted = sorted && candidates_[m - 1].distance < candidates_[m].distance;
  const uint32_t room = static_cast<uint32_t>(std::min<size_t>(end - pos, 0xFFFFFFFFu));
  // A match longer than its distance repeats a period; copies may not overlap
  // themselves, so try the same period further back, where more of it fits.
  for (size_t m = 0; m < count; ++m) {
    if (candidates_[m].length <= candidates_[m].distance) continue;
    uint64_t distance = candidates_[m].distance;
    for (int t = 0; t < kPeriodTries; ++t) {
      distance *= 2;
      if (distance > pos) break;
      const uint32_t d = static_cast<uint32_t>(distance);
      const uint32_t len = match_length(data_ + pos - d, data_ + pos, std::min({d, room, nice_}));
      candidates_.push_back(Match{len, d});
      sorted = false;
      if (len < d) break;
    }
    break;
  }
  if (!sorted) {
    std::sort(candidates_.begin(), candidates_.end(),
              [](const Match& a, const Match& b) { return a.distance < b.distance; });
  }
  size_t kept = 0;
  uint32_t best = kMinCopy - 1;
  for (const Match& c : candidates_) {
    const uint32_t len = std::min({c.length, c.distance, room});
    if (len > best) {
      best = len;
      candidates_[kept++] = Match{len, c.distance};
    }
  }
  candidates_.resize(kept);
  return kept;
}

void OptimalParser::close(size_t k, TokenStream& out) {
  // Walk back from node k to node 0, then write forwards.
  path_.clear();
  bool in_literals = literal_best(k);
  while (k > 0) {
    Node step{};
    if (in_literals) {
      uint32_t count = 0;
      for (;;) {
        ++count;
        const bool starts = nodes_[k].run_starts;
        --k;
        if (starts) break;
      }
      step.kind = kLiteral;
      step.length = count;
      in_literals = false;
    } else {
      step = nodes_[k];
      k -= step.length;
      in_literals = literal_best(k);
    }
    path_.push_back(step);
  }
  for (auto it = path_.rbegin(); it != path_.rend(); ++it) {
    switch (it->kind) {
      case kLiteral:
        out.literals(it->length);
        break;
      case kRepeat:
        out.repeat(it->length);
        break;
      case kCopy:
        out.copy(it->length, it->distance);
        break;
    }
  }
}

void OptimalParser::parse(std::span<const MatchChunk* const> chunks, TokenStream& out) {
  const size_t begin = chunks[0]->begin;
  const size_t end = chunks[0]->end;
  open(begin);
  size_t run_end = begin;
  for (size_t pos = begin; pos < end; ++pos) {
    const size_t k = pos - start_;
    reach(k + 1);
    Node& here = nodes_[k];
    const bool from_literal = literal_best(k);
    const uint32_t best = from_literal ? here.literal_cost : here.token_cost;

    // One more literal: start a run after a token, or grow the current run.
    {
      Node& next = nodes_[k + 1];
      const uint32_t start_cost =
          here.token_cost == kInfinite ? kInfinite : here.token_cost + cost::literal_header(1) + 8;
      const uint32_t grow_cost =
          here.literal_cost == kInfinite ? kInfinite : here.literal_cost + 8 + cost::literal_header_growth(here.run);
      if (start_cost <= grow_cost) {
        next.literal_cost = start_cost;
        next.run = 1;
        next.run_starts = true;
      } else {
        next.literal_cost = grow_cost;
        next.run = here.run + 1;
        next.run_starts = false;
      }
    }

    // A run of one byte value.
    if (pos >= run_end) {
      run_end = pos + 1;
      while (run_end < size_ && data_[run_end] == data_[pos]) ++run_end;
    }
    const uint32_t run = static_cast<uint32_t>(std::min(run_end, end) - pos);
    if (run >= nice_) {
      close(k, out);
      out.repeat(run);
      open(pos + run);
      pos += run - 1;
      continue;
    }
    if (run >= kMinRepeat) {
      reach(k + run);
      for (uint32_t c = kMinRepeat; c <= run; ++c) relax(k + c, best + cost::repeat(c), kRepeat, c, 0);
    }

    // Copies.
    const size_t i = pos - begin;
    candidates_.clear();
    for (const MatchChunk* chunk : chunks) {
      const Match* found = chunk->matches.data();
      candidates_.insert(candidates_.end(), found + chunk->first[i], found + chunk->first[i + 1]);
    }
    if (candidates_.empty()) continue;
    const size_t usable = candidates(pos, end, candidates_.size());
    if (usable == 0) continue;
    const Match longest = candidates_[usable - 1];
    if (longest.length >= nice_) {
      const uint32_t room = static_cast<uint32_t>(std::min<size_t>(end - pos, 0xFFFFFFFFu));
      const uint32_t length =
          match_length(data_ + pos - longest.distance, data_ + pos, std::min(longest.distance, room));
      close(k, out);
      out.copy(length, longest.distance);
      open(pos + length);
      pos += length - 1;
      continue;
    }
    reach(k + longest.length);
    uint32_t shorter = kMinCopy - 1;
    for (size_t m = 0; m < usable; ++m) {
      const Match c = candidates_[m];
      const uint32_t base = best + 2 + cost::copy_distance(c.distance);
      for (uint32_t len = shorter + 1; len <= c.length; ++len) {
        relax(k + len, base + cost::copy_length(len), kCopy, len, c.distance);
      }
      shorter = c.length;
    }
  }
  close(end - start_, out);
}

}  // namespace qvin
