// Tests of the archive compressor: every level and thread count decodes to its input.
#include "qvin/compressor/compressor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "archive/decompress.h"
#include "qvin/compressor/token_stream.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Rng {
  uint64_t state;
  uint32_t next() {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(state >> 33);
  }
};

Bytes random_bytes(size_t n, uint64_t seed) {
  Rng rng{seed};
  Bytes out(n);
  for (uint8_t& b : out) b = static_cast<uint8_t>(rng.next());
  return out;
}

Bytes decode(const Bytes& block) {
  uint8_t* out = nullptr;
  int out_len = 0;
  if (!archive::decompress(block.data(), static_cast<int>(block.size()), &out, &out_len)) return Bytes{'!', '!'};
  Bytes result(out, out + out_len);
  archive::free_decompressed(out);
  return result;
}

struct Input {
  std::string label;
  Bytes data;
};

std::vector<Input> inputs() {
  std::vector<Input> list;
  list.push_back({"empty", {}});
  list.push_back({"one byte", {0x42}});
  list.push_back({"three bytes", {1, 2, 3}});
  list.push_back({"random", random_bytes(100000, 1)});
  list.push_back({"one long run", Bytes(300000, 0xAB)});

  // Short periods: copies may not overlap themselves, so a period below 4 needs
  // repeats or literals and longer ones need copies no longer than their distance.
  Bytes periods;
  for (size_t period = 1; period <= 24; ++period) {
    const Bytes unit = random_bytes(period, 100 + period);
    for (size_t i = 0; i < 3000; ++i) periods.push_back(unit[i % period]);
  }
  list.push_back({"periodic stretches", periods});

  // The same 40 KB far apart, across the 1 MB chunks of the strong level, and
  // runs cut by chunk ends.
  const Bytes unit = random_bytes(40000, 7);
  Bytes far = unit;
  const Bytes filler = random_bytes(2'500'000, 8);
  far.insert(far.end(), filler.begin(), filler.end());
  far.insert(far.end(), unit.begin(), unit.end());
  far.resize((1u << 20) - 100);
  far.insert(far.end(), 5000, 0);
  far.insert(far.end(), unit.begin(), unit.end());
  far.insert(far.end(), filler.begin(), filler.begin() + 1'200'000);
  far.insert(far.end(), unit.begin(), unit.end());
  list.push_back({"distant repeats", far});

  Bytes words;
  Rng rng{3};
  const char* vocabulary[] = {"Setup ", "installs ", "the ", "files ", "into ", "%InstallDir%", "\r\n", "\\"};
  while (words.size() < 600000) {
    const char* w = vocabulary[rng.next() % 8];
    words.insert(words.end(), w, w + strlen(w));
  }
  list.push_back({"words", words});
  return list;
}

TEST(Compressor, RoundTripsAtEveryLevelAndThreadCount) {
  for (const Input& input : inputs()) {
    for (const auto level : {qvin::CompressionLevel::Fast, qvin::CompressionLevel::Strong}) {
      for (const unsigned threads : {1u, 2u}) {
        SCOPED_TRACE(input.label + (level == qvin::CompressionLevel::Fast ? " fast" : " strong") + " threads " +
                     std::to_string(threads));
        const Bytes block = qvin::compress_block(input.data, level, threads);
        ASSERT_EQ(decode(block), input.data);
        if (input.data.size() > 1000) {
          EXPECT_EQ(block, qvin::compress_block(input.data, level, threads)) << "output must not vary";
        }
      }
    }
  }
}

// Real files of the machine, one after another as an archive holds them.
TEST(Compressor, RoundTripsRealFiles) {
  const char* paths[] = {"/usr/share/common-licenses/GPL-3",
                         "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/kernel32.dll",
                         "/usr/share/common-licenses/Apache-2.0"};
  Bytes solid;
  for (const char* path : paths) {
    FILE* f = std::fopen(path, "rb");
    if (f == nullptr) continue;
    uint8_t buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) solid.insert(solid.end(), buffer, buffer + n);
    std::fclose(f);
  }
  if (solid.size() < 100000) GTEST_SKIP() << "the sample files are missing";
  for (const auto level : {qvin::CompressionLevel::Fast, qvin::CompressionLevel::Strong}) {
    SCOPED_TRACE(level == qvin::CompressionLevel::Fast ? "fast" : "strong");
    const Bytes block = qvin::compress_block(solid, level);
    EXPECT_LT(block.size(), solid.size() / 2);
    EXPECT_EQ(decode(block), solid);
  }
}

TEST(Compressor, ShrinksWhatRepeats) {
  struct Case {
    const char* label;
    Bytes data;
    size_t at_most;
  };
  const Bytes unit = random_bytes(200000, 11);
  Bytes twice = unit;
  twice.insert(twice.end(), unit.begin(), unit.end());
  const Case cases[] = {
      {"a run is a few tokens", Bytes(1 << 20, 0), 64},
      {"a repeated half costs little", twice, unit.size() + 2000},
      {"noise grows by little", random_bytes(100000, 12), 100000 + 100000 / 64 + 64},
  };
  for (const Case& c : cases) {
    for (const auto level : {qvin::CompressionLevel::Fast, qvin::CompressionLevel::Strong}) {
      SCOPED_TRACE(c.label);
      EXPECT_LE(qvin::compress_block(c.data, level).size(), c.at_most);
    }
  }
}

TEST(Compressor, StrongBeatsFast) {
  Bytes text;
  Rng rng{21};
  while (text.size() < 400000) {
    const Bytes word = random_bytes(3 + rng.next() % 6, rng.next() % 500);
    text.insert(text.end(), word.begin(), word.end());
    text.push_back(' ');
  }
  EXPECT_LT(qvin::compress_block(text, qvin::CompressionLevel::Strong).size(),
            qvin::compress_block(text, qvin::CompressionLevel::Fast).size());
}

TEST(TokenStream, AppendBitsJoinsAtAnyOffset) {
  const Bytes a = random_bytes(5, 31), b = random_bytes(4, 32);
  for (uint64_t a_bits = 0; a_bits <= 40; a_bits += 3) {
    for (uint64_t b_bits = 0; b_bits <= 32; b_bits += 5) {
      Bytes joined(a.begin(), a.begin() + static_cast<std::ptrdiff_t>((a_bits + 7) / 8));
      uint64_t bits = a_bits;
      qvin::append_bits(joined, bits, b, b_bits);
      ASSERT_EQ(bits, a_bits + b_bits);
      ASSERT_EQ(joined.size(), (bits + 7) / 8);
      auto bit = [](const Bytes& v, uint64_t i) { return (v[i / 8] >> (i % 8)) & 1; };
      for (uint64_t i = 0; i < bits; ++i) {
        ASSERT_EQ(bit(joined, i), i < a_bits ? bit(a, i) : bit(b, i - a_bits))
            << a_bits << "+" << b_bits << " bit " << i;
      }
    }
  }
}

}  // namespace
