// The LZMA decoder: a binary range decoder with adaptive probabilities, and the state
// machine of literals, matches and the four most recent distances.
#include "archive/lzma_decode.h"

#include "core/memory.h"

namespace archive {
namespace {

constexpr int kProbabilityBits = 11;
constexpr uint16_t kProbabilityHalf = 1 << (kProbabilityBits - 1);
constexpr int kMoveBits = 5;
constexpr uint32_t kTopValue = 1u << 24;

constexpr int kStates = 12;
constexpr int kMaxPositionStates = 1 << 4;
constexpr int kLengthToPositionStates = 4;
constexpr int kPositionSlotBits = 6;
constexpr int kEndPositionModelIndex = 14;
constexpr int kFullDistances = 1 << (kEndPositionModelIndex >> 1);
constexpr int kAlignBits = 4;
constexpr uint32_t kMinMatchLength = 2;
constexpr int kLiteralCoderSize = 0x300;

struct LengthModel {
  uint16_t choice;
  uint16_t choice2;
  uint16_t low[kMaxPositionStates][1 << 3];
  uint16_t mid[kMaxPositionStates][1 << 3];
  uint16_t high[1 << 8];
};

// Every probability of the model but the literal coders, which follow it in memory.
struct Model {
  uint16_t is_match[kStates][kMaxPositionStates];
  uint16_t is_rep[kStates];
  uint16_t is_rep_g0[kStates];
  uint16_t is_rep_g1[kStates];
  uint16_t is_rep_g2[kStates];
  uint16_t is_rep0_long[kStates][kMaxPositionStates];
  uint16_t position_slot[kLengthToPositionStates][1 << kPositionSlotBits];
  uint16_t special_position[1 + kFullDistances - kEndPositionModelIndex];
  uint16_t align[1 << kAlignBits];
  LengthModel length;
  LengthModel rep_length;
};

class RangeDecoder {
 public:
  RangeDecoder(const uint8_t* in, int64_t size) : in_(in), size_(size) {}

  // The first byte is always 0; the next four start the code.
  bool start() {
    if (next_byte() != 0) corrupt_ = true;
    for (int i = 0; i < 4; ++i) code_ = (code_ << 8) | next_byte();
    if (code_ == range_) corrupt_ = true;
    return ok();
  }

  uint32_t bit(uint16_t& probability) {
    uint32_t bound = (range_ >> kProbabilityBits) * probability;
    uint32_t result;
    if (code_ < bound) {
      range_ = bound;
      probability = static_cast<uint16_t>(probability + (((1u << kProbabilityBits) - probability) >> kMoveBits));
      result = 0;
    } else {
      range_ -= bound;
      code_ -= bound;
      probability = static_cast<uint16_t>(probability - (probability >> kMoveBits));
      result = 1;
    }
    normalise();
    return result;
  }

  // Bits of equal probability, most significant first.
  uint32_t direct_bits(int count) {
    uint32_t result = 0;
    while (count-- > 0) {
      range_ >>= 1;
      code_ -= range_;
      uint32_t mask = 0u - (code_ >> 31);  // all ones when the bit is 0
      code_ += range_ & mask;
      if (code_ == range_) corrupt_ = true;
      normalise();
      result = (result << 1) + (mask + 1);
    }
    return result;
  }

  // A symbol of `bits` bits through a tree of probabilities, most significant bit first.
  uint32_t tree(uint16_t* probabilities, int bits) {
    uint32_t m = 1;
    for (int i = 0; i < bits; ++i) m = (m << 1) + bit(probabilities[m]);
    return m - (1u << bits);
  }

  // The same with the least significant bit first.
  uint32_t reverse_tree(uint16_t* probabilities, int bits) {
    uint32_t m = 1;
    uint32_t symbol = 0;
    for (int i = 0; i < bits; ++i) {
      uint32_t b = bit(probabilities[m]);
      m = (m << 1) + b;
      symbol |= b << i;
    }
    return symbol;
  }

  bool ok() const { return !truncated_ && !corrupt_; }
  bool truncated() const { return truncated_; }
  // A cleanly ended stream leaves a code of 0 and no byte unread.
  bool finished() const { return code_ == 0 && position_ == size_; }

 private:
  uint32_t next_byte() {
    if (position_ >= size_) {
      truncated_ = true;
      return 0;
    }
    return in_[position_++];
  }
  void normalise() {
    if (range_ < kTopValue) {
      range_ <<= 8;
      code_ = (code_ << 8) | next_byte();
    }
  }

  const uint8_t* in_;
  int64_t size_;
  int64_t position_ = 0;
  uint32_t range_ = 0xFFFFFFFFu;
  uint32_t code_ = 0;
  bool truncated_ = false;
  bool corrupt_ = false;
};

uint32_t decode_length(RangeDecoder& rc, LengthModel& model, uint32_t position_state) {
  if (rc.bit(model.choice) == 0) return rc.tree(model.low[position_state], 3);
  if (rc.bit(model.choice2) == 0) return 8 + rc.tree(model.mid[position_state], 3);
  return 16 + rc.tree(model.high, 8);
}

// The distance of a match of `length` (before the minimum is added), 0-based.
uint32_t decode_distance(RangeDecoder& rc, Model& model, uint32_t length) {
  uint32_t length_state = length < kLengthToPositionStates - 1 ? length : kLengthToPositionStates - 1;
  uint32_t slot = rc.tree(model.position_slot[length_state], kPositionSlotBits);
  if (slot < 4) return slot;
  int direct = static_cast<int>(slot >> 1) - 1;
  uint32_t distance = (2 | (slot & 1)) << direct;
  if (slot < kEndPositionModelIndex) {
    return distance + rc.reverse_tree(model.special_position + distance - slot, direct);
  }
  distance += rc.direct_bits(direct - kAlignBits) << kAlignBits;
  return distance + rc.reverse_tree(model.align, kAlignBits);
}

uint8_t decode_literal(RangeDecoder& rc, uint16_t* coder, bool after_match, uint32_t match_byte) {
  uint32_t symbol = 1;
  if (after_match) {
    // The byte at the last distance predicts this one until the first bit that differs.
    while (symbol < 0x100) {
      uint32_t match_bit = (match_byte >> 7) & 1;
      match_byte <<= 1;
      uint32_t b = rc.bit(coder[((1 + match_bit) << 8) + symbol]);
      symbol = (symbol << 1) | b;
      if (match_bit != b) break;
    }
  }
  while (symbol < 0x100) symbol = (symbol << 1) | rc.bit(coder[symbol]);
  return static_cast<uint8_t>(symbol - 0x100);
}

uint32_t after_literal(uint32_t state) { return state < 4 ? 0 : (state < 10 ? state - 3 : state - 6); }
uint32_t after_match(uint32_t state) { return state < 7 ? 7 : 10; }
uint32_t after_rep(uint32_t state) { return state < 7 ? 8 : 11; }
uint32_t after_short_rep(uint32_t state) { return state < 7 ? 9 : 11; }

constexpr uint32_t kEndMarker = 0xFFFFFFFFu;

}  // namespace

bool read_lzma_properties(const uint8_t bytes[5], LzmaProperties& properties) {
  uint32_t d = bytes[0];
  if (d >= 9 * 5 * 5) return false;
  properties.literal_context_bits = d % 9;
  d /= 9;
  properties.literal_position_bits = d % 5;
  properties.position_bits = d / 5;
  properties.dictionary_size = static_cast<uint32_t>(bytes[1]) | static_cast<uint32_t>(bytes[2]) << 8 |
                               static_cast<uint32_t>(bytes[3]) << 16 | static_cast<uint32_t>(bytes[4]) << 24;
  return true;
}

void write_lzma_properties(const LzmaProperties& properties, uint8_t bytes[5]) {
  bytes[0] = static_cast<uint8_t>((properties.position_bits * 5 + properties.literal_position_bits) * 9 +
                                  properties.literal_context_bits);
  for (int i = 0; i < 4; ++i) bytes[1 + i] = static_cast<uint8_t>(properties.dictionary_size >> (8 * i));
}

LzmaResult lzma_decode(const uint8_t* in, int64_t in_size, const LzmaProperties& properties, uint8_t* out,
                       int64_t out_size) {
  const uint32_t lc = properties.literal_context_bits;
  const uint32_t lp = properties.literal_position_bits;
  const uint32_t pb = properties.position_bits;
  if (lc > 8 || lp > 4 || pb > 4) return LzmaResult::BadProperties;
  if (in == nullptr || in_size < 0 || out_size < 0 || (out == nullptr && out_size > 0)) return LzmaResult::Corrupt;
  // Dictionaries below 4 KiB behave as 4 KiB, and sizes count in steps of 16 bytes, as
  // encoders and other decoders take them.
  uint64_t dictionary = properties.dictionary_size < 4096 ? 4096 : properties.dictionary_size;
  dictionary = (dictionary + 15) & ~static_cast<uint64_t>(15);

  const int32_t literal_count = kLiteralCoderSize << (lc + lp);
  const int32_t count = static_cast<int32_t>(sizeof(Model) / sizeof(uint16_t)) + literal_count;
  // The tables' size comes from the stream: a failure is the stream's, not the program's.
  uint16_t* probabilities = static_cast<uint16_t*>(core::try_allocate(sizeof(uint16_t) * count));
  if (probabilities == nullptr) return LzmaResult::NoMemory;
  for (int32_t i = 0; i < count; ++i) probabilities[i] = kProbabilityHalf;
  Model& model = *reinterpret_cast<Model*>(probabilities);
  uint16_t* literals = probabilities + sizeof(Model) / sizeof(uint16_t);

  RangeDecoder rc(in, in_size);
  LzmaResult result = LzmaResult::Decoded;
  uint32_t state = 0;
  uint32_t rep0 = 0, rep1 = 0, rep2 = 0, rep3 = 0;
  const uint32_t position_mask = (1u << pb) - 1;
  const uint32_t literal_position_mask = (1u << lp) - 1;
  int64_t position = 0;
  bool marker_seen = false;
  if (!rc.start()) result = rc.truncated() ? LzmaResult::Truncated : LzmaResult::Corrupt;
  // Once the output is complete, one more symbol is read only when bytes remain: it
  // must be the end marker.
  while (result == LzmaResult::Decoded && (position < out_size || !rc.finished())) {
    uint32_t position_state = static_cast<uint32_t>(position) & position_mask;
    if (rc.bit(model.is_match[state][position_state]) == 0) {
      if (position >= out_size) {
        result = LzmaResult::Corrupt;
        break;
      }
      uint32_t previous = position > 0 ? out[position - 1] : 0;
      uint32_t context = ((static_cast<uint32_t>(position) & literal_position_mask) << lc) + (previous >> (8 - lc));
      uint32_t match_byte = state >= 7 && rep0 < position ? out[position - rep0 - 1] : 0;
      out[position++] = decode_literal(rc, literals + kLiteralCoderSize * context, state >= 7, match_byte);
      state = after_literal(state);
    } else {
      uint32_t length;
      if (rc.bit(model.is_rep[state]) == 0) {
        rep3 = rep2;
        rep2 = rep1;
        rep1 = rep0;
        length = decode_length(rc, model.length, position_state);
        state = after_match(state);
        rep0 = decode_distance(rc, model, length);
        if (rep0 == kEndMarker) {
          marker_seen = true;
          break;
        }
      } else {
        if (position == 0) {
          result = LzmaResult::Corrupt;
          break;
        }
        if (rc.bit(model.is_rep_g0[state]) == 0) {
          if (rc.bit(model.is_rep0_long[state][position_state]) == 0) {
            state = after_short_rep(state);
            if (position >= out_size || rep0 >= position) {
              result = LzmaResult::Corrupt;
              break;
            }
            out[position] = out[position - rep0 - 1];
            ++position;
            continue;
          }
        } else {
          uint32_t distance;
          if (rc.bit(model.is_rep_g1[state]) == 0) {
            distance = rep1;
          } else {
            if (rc.bit(model.is_rep_g2[state]) == 0) {
              distance = rep2;
            } else {
              distance = rep3;
              rep3 = rep2;
            }
            rep2 = rep1;
          }
          rep1 = rep0;
          rep0 = distance;
        }
        length = decode_length(rc, model.rep_length, position_state);
        state = after_rep(state);
      }
      length += kMinMatchLength;
      if (rep0 >= position || rep0 >= dictionary || static_cast<int64_t>(length) > out_size - position) {
        result = LzmaResult::Corrupt;
        break;
      }
      const uint8_t* from = out + position - rep0 - 1;
      uint8_t* to = out + position;
      for (uint32_t i = 0; i < length; ++i) to[i] = from[i];
      position += length;
    }
    if (!rc.ok()) result = rc.truncated() ? LzmaResult::Truncated : LzmaResult::Corrupt;
  }
  if (result == LzmaResult::Decoded) {
    if (!rc.ok()) {
      result = rc.truncated() ? LzmaResult::Truncated : LzmaResult::Corrupt;
    } else if (marker_seen && (position != out_size || !rc.finished())) {
      // A marker before the end, or bytes after it.
      result = LzmaResult::Corrupt;
    }
  }
  core::release(probabilities);
  return result;
}

}  // namespace archive
