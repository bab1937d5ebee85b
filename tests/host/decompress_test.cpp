// Tests of the block decoders (fast and reference), the bit writer and the simple encoder.
#include "archive/decompress.h"

#include <gtest/gtest.h>
#include <stdint.h>
#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "archive/bit_writer.h"
#include "archive/block_encoder.h"
#include "archive/block_format.h"
#include "archive/decompress_reference.h"
#include "core/string.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Result {
  bool ok;
  Bytes output;
};

Result run_fast(const Bytes& in) {
  uint8_t* out = nullptr;
  int out_len = -7;
  const bool ok = archive::decompress(in.data(), static_cast<int>(in.size()), &out, &out_len);
  if (!ok) {
    EXPECT_EQ(out, nullptr) << "outputs touched on failure";
    EXPECT_EQ(out_len, -7) << "outputs touched on failure";
    return {false, {}};
  }
  Result r{true, Bytes(out, out + out_len)};
  archive::free_decompressed(out);
  return r;
}

Result run_reference(const Bytes& in) {
  uint8_t* out = nullptr;
  int out_len = -7;
  const bool ok = archive::decompress_reference(in.data(), static_cast<int>(in.size()), &out, &out_len);
  if (!ok) {
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(out_len, -7);
    return {false, {}};
  }
  Result r{true, Bytes(out, out + out_len)};
  archive::free_decompressed(out);
  return r;
}

// Builds a block from a header and a token script written with the bit writer.
Bytes make_block(uint32_t expected, const std::function<void(archive::BitWriter&)>& script,
                 uint32_t magic = archive::block::kMagic) {
  Bytes bytes(archive::block::kHeaderSize + 4096);
  archive::put_block_header(bytes.data(), expected);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(magic >> (8 * i));
  archive::BitWriter writer(bytes.data() + archive::block::kHeaderSize, 4096);
  script(writer);
  bytes.resize(archive::block::kHeaderSize + writer.finish());
  return bytes;
}

Bytes text(const char* s) { return Bytes(s, s + strlen(s)); }

const uint8_t kAbcde[] = {'a', 'b', 'c', 'd', 'e'};

struct EdgeCase {
  const char* label;
  Bytes block;
  bool ok;
  Bytes output;
};

std::vector<EdgeCase> edge_cases() {
  using W = archive::BitWriter;
  auto none = [](W&) {};
  Bytes bad_magic = make_block(0, none, 0x9EC72BA0u);
  Bytes header_only = make_block(0, none);
  Bytes truncated_header = header_only;
  truncated_header.resize(7);
  Bytes literal_abc = make_block(3, [](W& w) { w.literal_run(kAbcde, 3); });
  Bytes literal_cut = literal_abc;
  literal_cut.pop_back();
  Bytes negative = make_block(0x80000000u, [](W& w) { w.literal_run(kAbcde, 1); });
  Bytes long_ones = make_block(1, [](W& w) {
    // A literal count whose run of ones passes the width limit: width stays 32.
    w.put(0, 1);
    for (int i = 0; i < 40; ++i) w.put(1, 1);
    w.put(0, 1);
    w.put(0, 32);
    w.put('z', 8);
  });
  Bytes ones_to_end = make_block(1, [](W& w) {
    w.put(0, 1);
    for (int i = 0; i < 200; ++i) w.put(1, 1);
  });
  return {
      {"empty output from a bare header", header_only, true, {}},
      {"expected length 1 with no tokens", make_block(1, none), false, {}},
      {"wrong magic", bad_magic, false, {}},
      {"header cut to 7 bytes", truncated_header, false, {}},
      {"negative expected length", negative, false, {}},
      {"literal run", literal_abc, true, text("abc")},
      {"literal run missing its last bits", literal_cut, false, {}},
      {"literal run overshooting the expected length",
       make_block(2, [](W& w) { w.literal_run(kAbcde, 3); }),
       false,
       {}},
      {"repeat", make_block(5, [](W& w) { w.repeat('x', 5); }), true, text("xxxxx")},
      {"repeat overshooting", make_block(4, [](W& w) { w.repeat('x', 5); }), false, {}},
      {"repeat longer than a piece", make_block(2500, [](W& w) { w.repeat('q', 2500); }), true, Bytes(2500, 'q')},
      {"copy at distance 5 of 5 bytes",
       make_block(10,
                  [](W& w) {
                    w.literal_run(kAbcde, 5);
                    w.copy(5, 5);
                  }),
       true, text("abcdeabcde")},
      {"copy at distance 4 of 5 bytes overlaps",
       make_block(10,
                  [](W& w) {
                    w.literal_run(kAbcde, 5);
                    w.copy(5, 4);
                  }),
       false,
       {}},
      {"copy reaching before the start",
       make_block(10,
                  [](W& w) {
                    w.literal_run(kAbcde, 5);
                    w.copy(5, 6);
                  }),
       false,
       {}},
      {"first token a copy", make_block(4, [](W& w) { w.copy(4, 4); }), false, {}},
      {"bits after the last token are ignored",
       make_block(3,
                  [](W& w) {
                    w.literal_run(kAbcde, 3);
                    w.put(0xFFFFFFFFu, 32);
                  }),
       true, text("abc")},
      {"width capped at 32 after a long run of ones", long_ones, true, text("z")},
      {"run of ones to the end of the stream", ones_to_end, false, {}},
      // Counts are n + 1, n + 3, a + 4 and b + 4 taken in full: a field whose
      // count would wrap around 2^32 is an overshoot, never a short count.
      {"literal count n + 1 past 2^32",
       make_block(1,
                  [](W& w) {
                    w.put(0, 1);
                    w.put_number(archive::block::kLiteralCount, 0xFFFFFFFFu);
                    w.literal_run(kAbcde, 1);
                  }),
       false,
       {}},
      {"repeat count n + 3 past 2^32",
       make_block(2,
                  [](W& w) {
                    w.put(3, 2);
                    w.put('r', 8);
                    w.put_number(archive::block::kRepeatCount, 0xFFFFFFFFu);
                  }),
       false,
       {}},
      {"copy length a + 4 past 2^32",
       make_block(9,
                  [](W& w) {
                    w.literal_run(kAbcde, 5);
                    w.put(1, 2);
                    w.put_number(archive::block::kCopyLength, 0xFFFFFFFCu);
                    w.put_number(archive::block::kCopyDistance, 1);
                    w.literal_run(kAbcde, 4);
                  }),
       false,
       {}},
      {"copy distance b + 4 past 2^32",
       make_block(9,
                  [](W& w) {
                    w.literal_run(kAbcde, 5);
                    w.put(1, 2);
                    w.put_number(archive::block::kCopyLength, 0);
                    w.put_number(archive::block::kCopyDistance, 0xFFFFFFFFu);
                  }),
       false,
       {}},
  };
}

TEST(Decompress, EdgeCases) {
  for (const EdgeCase& c : edge_cases()) {
    SCOPED_TRACE(c.label);
    const Result fast = run_fast(c.block);
    const Result reference = run_reference(c.block);
    EXPECT_EQ(fast.ok, c.ok);
    EXPECT_EQ(fast.output, c.output);
    EXPECT_EQ(reference.ok, c.ok);
    EXPECT_EQ(reference.output, c.output);
  }
}

TEST(Decompress, RejectsNullAndShortBuffers) {
  const Bytes header = make_block(0, [](archive::BitWriter&) {});
  uint8_t* out = nullptr;
  int out_len = 0;
  for (int len = -1; len < archive::block::kHeaderSize; ++len) {
    SCOPED_TRACE(len);
    EXPECT_FALSE(archive::decompress(header.data(), len, &out, &out_len));
    EXPECT_FALSE(archive::decompress_reference(header.data(), len, &out, &out_len));
  }
  // The bit position is 32-bit: 2^28 bytes or more are refused before any read.
  EXPECT_FALSE(archive::decompress(header.data(), archive::block::kMaxBlockSize + 1, &out, &out_len));
  EXPECT_EQ(archive::block_output_length(header.data(), archive::block::kMaxBlockSize + 1), -1);
  EXPECT_FALSE(archive::decompress(nullptr, 8, &out, &out_len));
  EXPECT_FALSE(archive::decompress_reference(nullptr, 8, &out, &out_len));
  EXPECT_EQ(out, nullptr);
}

TEST(Decompress, IntoBufferNeedsTheExpectedLength) {
  const Bytes block = make_block(5, [](archive::BitWriter& w) { w.repeat('k', 5); });
  uint8_t out[8] = {};
  EXPECT_EQ(archive::block_output_length(block.data(), static_cast<int>(block.size())), 5);
  EXPECT_FALSE(archive::decompress_into(block.data(), static_cast<int>(block.size()), out, 4));
  EXPECT_FALSE(archive::decompress_into(block.data(), static_cast<int>(block.size()), out, 6));
  ASSERT_TRUE(archive::decompress_into(block.data(), static_cast<int>(block.size()), out, 5));
  EXPECT_EQ(Bytes(out, out + 5), text("kkkkk"));
}

TEST(Decompress, StringInPlace) {
  struct Case {
    const char* label;
    Bytes block;
    bool ok;
    std::string after;
  };
  const Bytes good = make_block(6, [](archive::BitWriter& w) {
    w.literal_run(kAbcde, 2);
    w.repeat('z', 4);
  });
  Bytes damaged = good;
  damaged.pop_back();
  const Case cases[] = {
      {"valid block", good, true, "abzzzz"},
      {"empty output", make_block(0, [](archive::BitWriter&) {}), true, ""},
      {"damaged block stays as it was", damaged, false, std::string(damaged.begin(), damaged.end())},
      {"not a block", text("plain text"), false, "plain text"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    core::String s(reinterpret_cast<const char*>(c.block.data()), static_cast<int32_t>(c.block.size()));
    EXPECT_EQ(archive::decompress_string(s), c.ok);
    EXPECT_EQ(std::string(s.text(), static_cast<size_t>(s.length())), c.after);
    EXPECT_EQ(s.text()[s.length()], 0) << "terminated";
  }
}

// Deterministic generator so failures reproduce.
struct Rng {
  uint64_t state;
  uint32_t next() {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(state >> 33);
  }
  uint32_t below(uint32_t n) { return next() % n; }
};

// A token script that is mostly valid, with occasional bad distances, lengths
// and wide fields, so both decoders see every branch.
Bytes random_token_block(Rng& rng) {
  Bytes bytes(archive::block::kHeaderSize + 8192);
  archive::BitWriter w(bytes.data() + archive::block::kHeaderSize, 8192);
  uint64_t produced = 0;
  const int tokens = 1 + static_cast<int>(rng.below(40));
  uint8_t literal[300];
  for (uint8_t& b : literal) b = static_cast<uint8_t>(rng.next());
  for (int t = 0; t < tokens; ++t) {
    switch (rng.below(40) == 0 ? 5 + rng.below(2) : rng.below(5)) {
      case 0:
      case 1: {
        const uint32_t count = 1 + rng.below(rng.below(2) ? 8 : 300);
        w.literal_run(literal, count);
        produced += count;
        break;
      }
      case 2: {
        const uint32_t count = 3 + rng.below(rng.below(4) ? 10 : 3000);
        w.repeat(static_cast<uint8_t>(rng.next()), count);
        produced += count;
        break;
      }
      case 3:
      case 4: {
        // Now and then a copy reaching before the start or overlapping itself.
        const uint32_t reach = static_cast<uint32_t>(produced < 4 || rng.below(64) == 0 ? produced + 8 : produced);
        const uint64_t distance = 4 + rng.below(reach - 3);
        uint64_t length = 4 + rng.below(static_cast<uint32_t>(distance - 3));
        if (rng.below(64) == 0) length = distance + 1 + rng.below(3);
        w.copy(length, distance);
        produced += length;
        break;
      }
      case 5:
        w.put(rng.next(), static_cast<int>(rng.below(33)));
        break;
      case 6:
        w.put(0, 1);
        w.put_number(archive::block::kLiteralCount, rng.next());
        break;
    }
  }
  bytes.resize(archive::block::kHeaderSize + w.finish());
  uint32_t expected = static_cast<uint32_t>(produced);
  if (rng.below(4) == 0) expected = rng.below(static_cast<uint32_t>(produced) + 10);
  archive::put_block_header(bytes.data(), expected);
  return bytes;
}

void expect_same(const Bytes& block, const char* what, int index) {
  const Result fast = run_fast(block);
  const Result reference = run_reference(block);
  ASSERT_EQ(fast.ok, reference.ok) << what << " #" << index;
  ASSERT_EQ(fast.output, reference.output) << what << " #" << index;
}

TEST(Decompress, FastMatchesReference) {
  Rng rng{12345};
  int successes = 0;
  for (int i = 0; i < 3000; ++i) {
    // Random bytes behind a valid header.
    Bytes noise(archive::block::kHeaderSize + rng.below(64));
    for (uint8_t& b : noise) b = static_cast<uint8_t>(rng.next());
    archive::put_block_header(noise.data(), rng.below(64));
    expect_same(noise, "noise", i);

    Bytes tokens = random_token_block(rng);
    expect_same(tokens, "tokens", i);
    successes += run_fast(tokens).ok;

    // Mutations: flipped bits, truncation, a changed expected length.
    Bytes mutated = tokens;
    for (uint32_t flips = 1 + rng.below(3); flips > 0; --flips) {
      const uint32_t bit = archive::block::kHeaderSize * 8 +
                           rng.below(static_cast<uint32_t>(mutated.size() - archive::block::kHeaderSize) * 8 + 1);
      if (bit / 8 < mutated.size()) mutated[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
    }
    if (rng.below(3) == 0)
      mutated.resize(archive::block::kHeaderSize + rng.below(static_cast<uint32_t>(mutated.size())));
    expect_same(mutated, "mutated", i);
  }
  EXPECT_GT(successes, 500) << "the generator should make many valid blocks";
}

Bytes encode(const Bytes& in) {
  Bytes out(static_cast<size_t>(archive::encode_block_bound(static_cast<int>(in.size()))));
  const int n =
      archive::encode_block(in.data(), static_cast<int>(in.size()), out.data(), static_cast<int64_t>(out.size()));
  EXPECT_GE(n, archive::block::kHeaderSize);
  out.resize(n < 0 ? 0 : static_cast<size_t>(n));
  return out;
}

TEST(BlockEncoder, RoundTrips) {
  Rng rng{777};
  struct Input {
    std::string label;
    Bytes data;
  };
  std::vector<Input> inputs = {{"empty", {}}, {"one byte", {0x5A}}, {"run", Bytes(100000, 0)}};
  Bytes noise(70000);
  for (uint8_t& b : noise) b = static_cast<uint8_t>(rng.next());
  inputs.push_back({"noise", noise});
  Bytes words;
  const char* vocabulary[] = {"setup ", "install ", "the ", "file ", "registry ", "a", "\r\n", "aaaa", "abab"};
  while (words.size() < 200000) {
    const char* w = vocabulary[rng.below(9)];
    words.insert(words.end(), w, w + strlen(w));
  }
  inputs.push_back({"words", words});
  Bytes far = noise;
  far.insert(far.end(), noise.begin(), noise.begin() + 5000);
  inputs.push_back({"distant repeat", far});

  for (const Input& input : inputs) {
    SCOPED_TRACE(input.label);
    const Bytes block = encode(input.data);
    ASSERT_LE(static_cast<int64_t>(block.size()), archive::encode_block_bound(static_cast<int>(input.data.size())));
    const Result fast = run_fast(block);
    ASSERT_TRUE(fast.ok);
    EXPECT_EQ(fast.output, input.data);
    EXPECT_EQ(run_reference(block).output, input.data);
  }
  EXPECT_LT(encode(words).size(), words.size() / 2) << "repetitive text should shrink";
  EXPECT_LT(encode(Bytes(100000, 0)).size(), 32u) << "a run is one repeat";
}

TEST(BlockEncoder, RejectsSmallBuffers) {
  const Bytes in(1000, 'a');
  uint8_t out[12];
  EXPECT_EQ(archive::encode_block(in.data(), static_cast<int>(in.size()), out, 7), -1);
  EXPECT_EQ(archive::encode_block(in.data(), -1, out, sizeof out), -1);
  Bytes noise(1000);
  Rng rng{5};
  for (uint8_t& b : noise) b = static_cast<uint8_t>(rng.next());
  EXPECT_EQ(archive::encode_block(noise.data(), static_cast<int>(noise.size()), out, sizeof out), -1);
}

}  // namespace
