// Fast parser: greedy with a one-step lazy look over a bucketed hash table.
#include "qvin/compressor/fast_parser.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "qvin/compressor/cost_model.h"
#include "qvin/compressor/match_finder.h"

namespace qvin {
namespace {

constexpr int kWays = 4;
constexpr uint32_t kNone = 0xFFFFFFFFu;
// Keeps a gain of 8 bits a byte within 32 bits.
constexpr uint32_t kMaxLength = 1u << 24;
// A match this long is taken without looking one position further.
constexpr uint32_t kGoodLength = 32;
// How far ahead buckets are fetched: about one memory latency of parsing.
constexpr size_t kPrefetchAhead = 16;

}  // namespace

FastParser::FastParser(const uint8_t* data, size_t size) : data_(data), size_(size) {
  hash_bits_ = std::clamp(static_cast<int>(std::bit_width(size)) - 3, 10, 22);
  const size_t slots = size_t{kWays} << hash_bits_;
  table_ = LargeArray<uint32_t>(slots);
  std::fill_n(table_.get(), slots, kNone);
}

uint32_t* FastParser::slot(size_t pos) {
  uint32_t v;
  std::memcpy(&v, data_ + pos, 4);
  return &table_[static_cast<size_t>((v * 2654435761u) >> (32 - hash_bits_)) * kWays];
}

uint32_t* FastParser::bucket(size_t pos) {
  // The table is far larger than the caches and positions are mostly visited in order,
  // so the bucket a few positions on is asked for now and is there when it is needed.
  if (pos + kPrefetchAhead + 4 <= size_) __builtin_prefetch(slot(pos + kPrefetchAhead), 1);
  return slot(pos);
}

inline void FastParser::insert(size_t pos, uint32_t* b) {
  for (int w = kWays - 1; w > 0; --w) b[w] = b[w - 1];
  b[0] = static_cast<uint32_t>(pos);
}

void FastParser::enter(size_t begin, size_t end) {
  end = std::min(end, size_ >= 4 ? size_ - 3 : 0);
  for (size_t pos = begin; pos < end; ++pos) insert(pos, bucket(pos));
}

FastParser::Choice FastParser::best_at(size_t pos, size_t end, bool enter) {
  Choice best;
  const size_t room = end - pos;
  size_t run = 1;
  while (run < room && run < kMaxLength && data_[pos + run] == data_[pos]) ++run;
  if (run >= 3) {
    best = Choice{static_cast<int32_t>(8 * run - cost::repeat(run)), static_cast<uint32_t>(run), 0};
  }
  if (pos + 4 > size_) return best;
  uint32_t* b = bucket(pos);
  for (int w = 0; w < kWays && b[w] != kNone; ++w) __builtin_prefetch(data_ + b[w] + best.length);
  for (int w = 0; w < kWays; ++w) {
    const uint32_t candidate = b[w];
    if (candidate == kNone) break;
    const size_t distance = pos - candidate;
    if (distance < 4) continue;
    const uint32_t limit = static_cast<uint32_t>(std::min<size_t>({distance, room, kMaxLength}));
    if (limit < 4) continue;
    // Cheap reject: a candidate that cannot be longer than the best so far.
    if (best.length < limit && data_[candidate + best.length] != data_[pos + best.length]) continue;
    const uint32_t length = match_length(data_ + candidate, data_ + pos, limit);
    if (length < 4) continue;
    const int32_t gain =
        static_cast<int32_t>(8 * length) - static_cast<int32_t>(cost::copy(length, static_cast<uint32_t>(distance)));
    if (gain > best.gain) best = Choice{gain, length, static_cast<uint32_t>(distance)};
  }
  if (enter) insert(pos, b);
  return best;
}

void FastParser::parse(size_t begin, size_t end, TokenStream& out) {
  size_t pos = begin;
  size_t literals = 0;
  Choice next;
  bool have_next = false;
  while (pos < end) {
    const Choice here = have_next ? next : best_at(pos, end, true);
    have_next = false;
    if (here.gain <= 0) {
      ++literals;
      ++pos;
      continue;
    }
    if (here.length < kGoodLength && pos + 1 < end) {
      // One literal now pays off if the next position saves more than a byte.
      next = best_at(pos + 1, end, true);
      have_next = true;
      if (next.gain > here.gain + 8) {
        ++literals;
        ++pos;
        continue;
      }
    }
    out.literals(literals);
    literals = 0;
    if (here.distance == 0) {
      out.repeat(here.length);
    } else {
      out.copy(here.length, here.distance);
    }
    // Enter the covered positions: all of a short token, the ends of a long one.
    const size_t stop = std::min(pos + here.length, size_ >= 4 ? size_ - 3 : 0);
    size_t i = pos + (have_next ? 2 : 1);
    for (; i < stop; ++i) {
      if (here.length > 64 && i == pos + 16) i = std::max(i, pos + here.length - 16);
      if (i < stop) insert(i, bucket(i));
    }
    have_next = false;
    pos += here.length;
  }
  out.literals(literals);
}

}  // namespace qvin
