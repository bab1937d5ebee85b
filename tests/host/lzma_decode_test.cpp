// The LZMA decoder on a stream of known bytes, here and under Wine: the text, every cut of
// the stream, damage, and the properties byte. (The comparison with liblzma on real files
// is a test of the tool's, which has the library.)
#include <gtest/gtest.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "archive/lzma_data.h"
#include "archive/lzma_decode.h"

namespace {

using archive::LzmaResult;

// "abracadabra, abracadabra, abracadabra!\n" as liblzma codes it with lc=3 lp=0 pb=2,
// a 64 KiB dictionary and its end marker.
const uint8_t kStream[] = {0x00, 0x30, 0x98, 0x8a, 0xaa, 0x9a, 0x59, 0xf5, 0x11, 0xd8, 0x40, 0xc3, 0x86,
                           0xc9, 0x4f, 0xf0, 0xed, 0x48, 0xdc, 0x5f, 0xff, 0xff, 0xe7, 0x6a, 0x00, 0x00};
const std::string kText = "abracadabra, abracadabra, abracadabra!\n";

archive::LzmaProperties properties() {
  archive::LzmaProperties p;
  p.dictionary_size = 1 << 16;
  return p;
}

LzmaResult decode(const std::vector<uint8_t>& stream, std::string& out, size_t size = kText.size(),
                  const archive::LzmaProperties& p = properties()) {
  out.assign(size, '\0');
  return archive::lzma_decode(stream.data(), static_cast<int64_t>(stream.size()), p,
                              reinterpret_cast<uint8_t*>(out.data()), static_cast<int64_t>(size));
}

const std::vector<uint8_t> kBytes(kStream, kStream + sizeof(kStream));

TEST(LzmaDecode, DecodesTheKnownStream) {
  std::string out;
  ASSERT_EQ(decode(kBytes, out), LzmaResult::Decoded);
  EXPECT_EQ(out, kText);
}

TEST(LzmaDecode, EveryCutIsCaught) {
  for (size_t n = 0; n < kBytes.size(); ++n) {
    std::string out;
    std::vector<uint8_t> cut(kBytes.begin(), kBytes.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_NE(decode(cut, out), LzmaResult::Decoded) << "cut at " << n;
  }
}

TEST(LzmaDecode, DamageAndWrongSizesAreCorrupt) {
  std::string out;
  std::vector<uint8_t> bad_start = kBytes;
  bad_start[0] = 1;  // the first byte is always 0
  EXPECT_EQ(decode(bad_start, out), LzmaResult::Corrupt);
  // The end marker comes before the size the archive says, or the data runs past it.
  EXPECT_EQ(decode(kBytes, out, kText.size() + 1), LzmaResult::Corrupt);
  EXPECT_NE(decode(kBytes, out, kText.size() - 1), LzmaResult::Decoded);
  // Bytes after the end marker.
  std::vector<uint8_t> longer = kBytes;
  longer.push_back(0);
  EXPECT_EQ(decode(longer, out), LzmaResult::Corrupt);
  // Every single-bit change is either caught or decodes to other bytes of the same
  // length; none reads or writes outside its buffers (the sanitizers watch).
  for (size_t bit = 8; bit < 8 * kBytes.size(); ++bit) {
    std::vector<uint8_t> flipped = kBytes;
    flipped[bit / 8] ^= static_cast<uint8_t>(1u << (bit % 8));
    decode(flipped, out);
  }
}

TEST(LzmaDecode, PropertiesBytes) {
  struct Case {
    uint8_t bytes[5];
    bool valid;
    uint32_t lc, lp, pb, dictionary;
  };
  const Case cases[] = {
      {{0x5D, 0x00, 0x00, 0x01, 0x00}, true, 3, 0, 2, 1 << 16},
      {{0x00, 0x00, 0x10, 0x00, 0x00}, true, 0, 0, 0, 1 << 12},
      {{224, 0xFF, 0xFF, 0xFF, 0xFF}, true, 8, 4, 4, 0xFFFFFFFFu},
      {{225, 0, 0, 0, 0}, false, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    archive::LzmaProperties p;
    ASSERT_EQ(archive::read_lzma_properties(c.bytes, p), c.valid) << int{c.bytes[0]};
    if (!c.valid) continue;
    EXPECT_EQ(p.literal_context_bits, c.lc);
    EXPECT_EQ(p.literal_position_bits, c.lp);
    EXPECT_EQ(p.position_bits, c.pb);
    EXPECT_EQ(p.dictionary_size, c.dictionary);
    uint8_t back[5];
    archive::write_lzma_properties(p, back);
    EXPECT_EQ(std::vector<uint8_t>(back, back + 5), std::vector<uint8_t>(c.bytes, c.bytes + 5));
  }
  archive::LzmaProperties wrong = properties();
  wrong.position_bits = 5;
  std::string out;
  EXPECT_EQ(decode(kBytes, out, kText.size(), wrong), LzmaResult::BadProperties);
  // The largest dictionary and the largest tables decode as well as any.
  archive::LzmaProperties largest = properties();
  largest.dictionary_size = 0xFFFFFFFFu;
  EXPECT_EQ(decode(kBytes, out, kText.size(), largest), LzmaResult::Decoded);
  EXPECT_EQ(out, kText);
}

// Stored data: the header in front of the stream says how long the output is.
TEST(LzmaData, HeaderAndStream) {
  std::vector<uint8_t> stored(archive::kLzmaDataHeaderSize);
  archive::write_lzma_data_header(properties(), static_cast<int64_t>(kText.size()), stored.data());
  stored.insert(stored.end(), kBytes.begin(), kBytes.end());
  ASSERT_EQ(archive::lzma_data_length(stored.data(), static_cast<int64_t>(stored.size())),
            static_cast<int64_t>(kText.size()));
  std::string out(kText.size(), '\0');
  EXPECT_TRUE(archive::decode_lzma_data(stored.data(), static_cast<int64_t>(stored.size()),
                                        reinterpret_cast<uint8_t*>(out.data()), static_cast<int64_t>(out.size())));
  EXPECT_EQ(out, kText);
  // A header cut short, a bad properties byte, a length an archive cannot hold.
  EXPECT_EQ(archive::lzma_data_length(stored.data(), 12), -1);
  std::vector<uint8_t> bad = stored;
  bad[0] = 225;
  EXPECT_EQ(archive::lzma_data_length(bad.data(), static_cast<int64_t>(bad.size())), -1);
  bad = stored;
  bad[12] = 1;
  EXPECT_EQ(archive::lzma_data_length(bad.data(), static_cast<int64_t>(bad.size())), -1);
  EXPECT_FALSE(archive::decode_lzma_data(stored.data(), static_cast<int64_t>(stored.size()),
                                         reinterpret_cast<uint8_t*>(out.data()), 3));
}

}  // namespace
