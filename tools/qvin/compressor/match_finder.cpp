// Binary-tree match finder over the whole input, split into partitions for threads.
#include "qvin/compressor/match_finder.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace qvin {
namespace {

constexpr uint32_t kNone = 0xFFFFFFFFu;
constexpr uint32_t kMinLength = 4;

inline uint32_t load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

}  // namespace

uint32_t match_length(const uint8_t* a, const uint8_t* b, uint32_t limit) {
  uint32_t n = 0;
  while (n + 8 <= limit) {
    uint64_t x, y;
    std::memcpy(&x, a + n, 8);
    std::memcpy(&y, b + n, 8);
    if (x != y) return n + static_cast<uint32_t>(std::countr_zero(x ^ y) >> 3);
    n += 8;
  }
  while (n < limit && a[n] == b[n]) ++n;
  return n;
}

MatchFinder::MatchFinder(const uint8_t* data, size_t size, const MatchFinderOptions& options)
    : data_(data), size_(size), options_(options) {
  options_.parts = std::max(options_.parts, 1u);
  hash_bits_ = std::clamp(static_cast<int>(std::bit_width(size)) - 1, 12, 24);
  head_ = LargeArray<uint32_t>(size_t{1} << hash_bits_);
  std::fill_n(head_.get(), size_t{1} << hash_bits_, kNone);
  tree_ = LargeArray<uint32_t>(2 * size);
}

uint32_t MatchFinder::hash(size_t pos) const { return (load32(data_ + pos) * 2654435761u) >> (32 - hash_bits_); }

size_t MatchFinder::find(size_t pos, uint32_t h, int depth, Match* out) {
  const uint32_t limit = static_cast<uint32_t>(std::min<size_t>(options_.nice_length, size_ - pos));
  const uint8_t* cur = data_ + pos;
  uint32_t candidate = head_[h];
  head_[h] = static_cast<uint32_t>(pos);

  uint32_t* smaller = &tree_[2 * pos];
  uint32_t* larger = &tree_[2 * pos + 1];
  uint32_t smaller_len = 0, larger_len = 0;
  uint32_t best = kMinLength - 1;
  size_t found = 0;
  for (int steps = depth;; --steps) {
    if (candidate == kNone || steps == 0) {
      *smaller = *larger = kNone;
      break;
    }
    const uint8_t* other = data_ + candidate;
    // Both sides agree with cur on their common prefix, so the compare starts there.
    uint32_t len = std::min(smaller_len, larger_len);
    len += match_length(other + len, cur + len, limit - len);
    const uint32_t distance = static_cast<uint32_t>(pos - candidate);
    if (std::min(len, distance) > best) {
      best = std::min(len, distance);
      out[found++] = Match{len, distance};
    }
    uint32_t* pair = &tree_[2 * static_cast<size_t>(candidate)];
    if (len == limit) {
      // Equal as far as we look: the new node takes the old one's place.
      *smaller = pair[0];
      *larger = pair[1];
      break;
    }
    if (other[len] < cur[len]) {
      *smaller = candidate;
      smaller = &pair[1];
      candidate = *smaller;
      smaller_len = len;
    } else {
      *larger = candidate;
      larger = &pair[0];
      candidate = *larger;
      larger_len = len;
    }
  }
  return found;
}

void MatchFinder::find_chunk(size_t begin, size_t end, unsigned part, MatchChunk& chunk) {
  const uint32_t nice = options_.nice_length;
  chunk.begin = begin;
  chunk.end = end;
  chunk.first.resize(end - begin + 1);
  chunk.matches.clear();
  std::vector<Match> scratch(static_cast<size_t>(std::max(options_.depth, options_.skip_depth)) + 1);
  // Positions too close to the end for a 4-byte hash are never entered.
  const size_t last = std::min(end, size_ >= kMinLength ? size_ - kMinLength + 1 : 0);
  size_t pos = begin;
  while (pos < end) {
    chunk.first[pos - begin] = static_cast<uint32_t>(chunk.matches.size());
    if (pos >= last) {
      ++pos;
      continue;
    }
    // Runs are found the same way by every partition, so all skip them alike.
    size_t run = 1;
    while (pos + run < end && run < nice && data_[pos + run] == data_[pos]) ++run;
    size_t skip = 0;
    const uint32_t h = hash(pos);
    if (run >= nice) {
      while (pos + run < end && data_[pos + run] == data_[pos]) ++run;
      skip = run;
      if (options_.skip_depth > 0 && part_of(h) == part) find(pos, h, options_.skip_depth, scratch.data());
    } else {
      if (part_of(h) == part) {
        const size_t n = find(pos, h, options_.depth, scratch.data());
        chunk.matches.insert(chunk.matches.end(), scratch.begin(), scratch.begin() + static_cast<std::ptrdiff_t>(n));
        const Match longest = n > 0 ? scratch[n - 1] : Match{0, 0};
        if (longest.length >= nice && longest.distance >= nice && end - pos >= nice) {
          const uint32_t room = static_cast<uint32_t>(std::min<size_t>(end - pos, longest.distance));
          skip = match_length(data_ + pos - longest.distance, data_ + pos, room);
        }
      }
    }
    if (skip == 0) {
      ++pos;
      continue;
    }
    for (size_t i = pos + 1; i < pos + skip; ++i) {
      chunk.first[i - begin] = static_cast<uint32_t>(chunk.matches.size());
      if (options_.skip_depth > 0 && i < last) {
        const uint32_t hi = hash(i);
        if (part_of(hi) == part) find(i, hi, options_.skip_depth, scratch.data());
      }
    }
    pos += skip;
  }
  chunk.first[end - begin] = static_cast<uint32_t>(chunk.matches.size());
}

}  // namespace qvin
