// Simple block encoder: greedy, one candidate per hash bucket; small rather than tight.
#include "archive/block_encoder.h"

#include <string.h>

#include "archive/bit_writer.h"
#include "archive/block_format.h"
#include "core/memory.h"

namespace archive {
namespace {

constexpr int kHashBits = 15;
// Long runs are split so that a run's header stays small.
constexpr int kMaxLiteralRun = 1 << 16;

inline uint32_t hash4(const uint8_t* p) {
  uint32_t v;
  memcpy(&v, p, 4);
  return (v * 2654435761u) >> (32 - kHashBits);
}

void flush_literals(BitWriter& writer, const uint8_t* in, int from, int to) {
  while (from < to) {
    const int count = to - from < kMaxLiteralRun ? to - from : kMaxLiteralRun;
    writer.literal_run(in + from, static_cast<uint64_t>(count));
    from += count;
  }
}

}  // namespace

int64_t encode_block_bound(int in_len) {
  if (in_len < 0) return -1;
  // Every token costs at most 8 bits per byte it stands for, and a literal run's
  // header at most one bit per byte of the run and the token after it.
  return block::kHeaderSize + static_cast<int64_t>(in_len) + in_len / 8 + 32;
}

int encode_block(const uint8_t* in, int in_len, uint8_t* out, int64_t out_capacity) {
  if (in_len < 0 || (in == nullptr && in_len > 0) || out == nullptr || out_capacity < block::kHeaderSize) {
    return -1;
  }
  int32_t* head = static_cast<int32_t*>(core::try_allocate(sizeof(int32_t) << kHashBits));
  if (head == nullptr) return -1;
  for (int i = 0; i < (1 << kHashBits); ++i) head[i] = -1;

  put_block_header(out, static_cast<uint32_t>(in_len));
  BitWriter writer(out + block::kHeaderSize, static_cast<size_t>(out_capacity - block::kHeaderSize));
  int pos = 0;
  int literals = 0;
  while (pos < in_len) {
    // A run of one byte value: a repeat is cheaper than anything else from 3 bytes on.
    int run = 1;
    while (pos + run < in_len && in[pos + run] == in[pos]) ++run;
    if (run >= static_cast<int>(block::kMinRepeat)) {
      flush_literals(writer, in, literals, pos);
      writer.repeat(in[pos], static_cast<uint64_t>(run));
      pos += run;
      literals = pos;
      continue;
    }
    if (pos + 4 <= in_len) {
      const uint32_t h = hash4(in + pos);
      const int candidate = head[h];
      head[h] = pos;
      const int distance = pos - candidate;
      if (candidate >= 0 && distance >= static_cast<int>(block::kMinDistance)) {
        // Copies may not overlap their own output: length <= distance.
        const int limit = in_len - pos < distance ? in_len - pos : distance;
        int length = 0;
        while (length < limit && in[candidate + length] == in[pos + length]) ++length;
        if (length >= static_cast<int>(block::kMinCopy) &&
            block::copy_bits(static_cast<uint32_t>(length), static_cast<uint32_t>(distance)) <= 8 * length) {
          flush_literals(writer, in, literals, pos);
          writer.copy(static_cast<uint64_t>(length), static_cast<uint64_t>(distance));
          for (int i = 1; i < length && pos + i + 4 <= in_len; ++i) head[hash4(in + pos + i)] = pos + i;
          pos += length;
          literals = pos;
          continue;
        }
      }
    }
    ++pos;
  }
  flush_literals(writer, in, literals, in_len);
  core::release(head);

  const size_t used = writer.finish();
  if (writer.overflowed()) return -1;
  const int64_t total = block::kHeaderSize + static_cast<int64_t>(used);
  if (total > block::kMaxBlockSize) return -1;
  return static_cast<int>(total);
}

}  // namespace archive
