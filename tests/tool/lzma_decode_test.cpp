// The runtime's LZMA decoder against liblzma: real files at the tool's presets, a stream
// without end marker, the largest dictionary, empty and one-byte data, every cut of a
// sample.
#include <lzma.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "archive/lzma_decode.h"

namespace {

namespace fs = std::filesystem;
using archive::LzmaResult;

struct Coded {
  std::vector<uint8_t> stream;
  archive::LzmaProperties properties;
};

// Raw LZMA1 from liblzma: `end_marker` false uses the coder that knows the size.
Coded encode(const std::string& data, uint32_t preset, uint32_t dictionary = 0, bool end_marker = true) {
  lzma_options_lzma options;
  lzma_lzma_preset(&options, preset);
  if (dictionary != 0) options.dict_size = dictionary;
  Coded c;
  c.properties.literal_context_bits = options.lc;
  c.properties.literal_position_bits = options.lp;
  c.properties.position_bits = options.pb;
  c.properties.dictionary_size = options.dict_size;
  lzma_filter filters[2] = {{end_marker ? LZMA_FILTER_LZMA1 : LZMA_FILTER_LZMA1EXT, &options},
                            {LZMA_VLI_UNKNOWN, nullptr}};
  if (!end_marker) {
    options.ext_flags = 0;
    options.ext_size_low = static_cast<uint32_t>(data.size());
    options.ext_size_high = 0;
  }
  c.stream.resize(data.size() + data.size() / 2 + 1024);
  size_t pos = 0;
  EXPECT_EQ(lzma_raw_buffer_encode(filters, nullptr, reinterpret_cast<const uint8_t*>(data.data()), data.size(),
                                   c.stream.data(), &pos, c.stream.size()),
            LZMA_OK);
  c.stream.resize(pos);
  return c;
}

LzmaResult decode(const Coded& c, std::string& out, size_t size) {
  out.assign(size, '\0');
  return archive::lzma_decode(c.stream.data(), static_cast<int64_t>(c.stream.size()), c.properties,
                              reinterpret_cast<uint8_t*>(out.data()), static_cast<int64_t>(size));
}

std::string read_all(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(LzmaDecode, MatchesLiblzmaOnRealFiles) {
  std::vector<fs::path> files = {fs::path(QVIN_SOURCE_DIR) / "docs" / "project-file.md", "/bin/sh"};
  for (const auto& entry : fs::directory_iterator(fs::path(QVIN_SOURCE_DIR) / "src" / "archive")) {
    if (entry.path().extension() == ".cpp") files.push_back(entry.path());
  }
  for (const fs::path& file : files) {
    const std::string data = read_all(file);
    for (uint32_t preset : {0u, 6u, 9u | LZMA_PRESET_EXTREME}) {
      const Coded c = encode(data, preset);
      std::string out;
      ASSERT_EQ(decode(c, out, data.size()), LzmaResult::Decoded) << file << " preset " << preset;
      EXPECT_TRUE(out == data) << file << " preset " << preset;
    }
  }
}

TEST(LzmaDecode, EdgeCases) {
  std::string out;
  for (const std::string& data : {std::string(), std::string("x"), std::string(100000, 'a')}) {
    EXPECT_EQ(decode(encode(data, 6), out, data.size()), LzmaResult::Decoded) << data.size();
    EXPECT_EQ(out, data);
    // Without an end marker, as a coder that knows the size writes it.
    EXPECT_EQ(decode(encode(data, 6, 0, false), out, data.size()), LzmaResult::Decoded) << data.size();
    EXPECT_EQ(out, data);
  }
  // The largest dictionary liblzma takes.
  const std::string text = read_all(fs::path(QVIN_SOURCE_DIR) / "docs" / "project-file.md");
  Coded large = encode(text, 6, 1536u << 20);
  EXPECT_EQ(decode(large, out, text.size()), LzmaResult::Decoded);
  EXPECT_TRUE(out == text);
}

TEST(LzmaDecode, EveryCutOfASampleIsCaught) {
  const std::string sample = read_all(fs::path(QVIN_SOURCE_DIR) / "src" / "archive" / "lzma_decode.h");
  const Coded c = encode(sample, 6);
  for (size_t n = 0; n < c.stream.size(); ++n) {
    Coded cut = c;
    cut.stream.resize(n);
    std::string out;
    EXPECT_NE(decode(cut, out, sample.size()), LzmaResult::Decoded) << "cut at " << n;
  }
}

}  // namespace
