// Bitmap headers read from bytes, and the bitmap file header.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/dib_layout.h"

namespace archive {
namespace {

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}

// A 40-byte info header with `total` bytes of data in all.
std::vector<uint8_t> info(int32_t width, int32_t height, uint16_t bits, uint32_t compression, uint32_t colours_used,
                          size_t total, uint32_t image_size = 0) {
  std::vector<uint8_t> b(total < 40 ? 40 : total);
  put32(b, 0, 40);
  put32(b, 4, static_cast<uint32_t>(width));
  put32(b, 8, static_cast<uint32_t>(height));
  put16(b, 12, 1);
  put16(b, 14, bits);
  put32(b, 16, compression);
  put32(b, 20, image_size);
  put32(b, 32, colours_used);
  b.resize(total);
  return b;
}

// A 12-byte core header with `total` bytes of data in all.
std::vector<uint8_t> core(uint16_t width, uint16_t height, uint16_t bits, size_t total) {
  std::vector<uint8_t> b(total < 12 ? 12 : total);
  put32(b, 0, 12);
  put16(b, 4, width);
  put16(b, 6, height);
  put16(b, 8, 1);
  put16(b, 10, bits);
  b.resize(total);
  return b;
}

TEST(DibLayout, Headers) {
  struct Case {
    const char* label;
    std::vector<uint8_t> data;
    bool parsed;
    DibHeader expected;  // width, height, bit count, entries, entry size, pixel offset
  };
  const Case cases[] = {
      {"8 bits, no colours-used: 256 entries", info(4, 2, 8, 0, 0, 1064 + 8), true, {4, 2, 8, 256, 4, 1064}},
      {"8 bits, 16 colours used", info(4, 2, 8, 0, 16, 104 + 8), true, {4, 2, 8, 16, 4, 104}},
      {"24 bits with a colour table", info(3, 2, 24, 0, 16, 104 + 24), true, {3, 2, 24, 16, 4, 104}},
      {"24 bits, rows padded to 4 bytes", info(3, 2, 24, 0, 0, 40 + 24), true, {3, 2, 24, 0, 4, 40}},
      {"top-down rows", info(3, -2, 24, 0, 0, 40 + 24), true, {3, -2, 24, 0, 4, 40}},
      {"bit fields: masks follow the header", info(2, 2, 32, 3, 0, 52 + 16), true, {2, 2, 32, 0, 4, 52}},
      {"16 bits, no table", info(2, 2, 16, 0, 0, 40 + 8), true, {2, 2, 16, 0, 4, 40}},
      {"run-length pixels of their own size", info(4, 4, 8, 1, 2, 48 + 10, 10), true, {4, 4, 8, 2, 4, 48}},
      {"core header, 24 bits", core(3, 2, 24, 12 + 24), true, {3, 2, 24, 0, 3, 12}},
      {"core header, 1 bit: 2 entries of 3 bytes", core(8, 1, 1, 18 + 4), true, {8, 1, 1, 2, 3, 18}},
      {"zero width: parsed, no picture", info(0, 2, 24, 0, 0, 40), true, {0, 2, 24, 0, 4, 40}},
      {"pixels one byte short", info(4, 2, 8, 0, 0, 1064 + 7), false, {}},
      {"colour table past the end", info(4, 2, 8, 0, 0, 600), false, {}},
      {"huge colours-used", info(1, 1, 24, 0, 0xFFFFFFFF, 48), false, {}},
      {"huge picture", info(0x7FFFFFFF, 0x7FFFFFFF, 32, 0, 0, 48), false, {}},
      {"run-length size past the end", info(4, 4, 8, 1, 2, 48 + 10, 11), false, {}},
      {"core header, 16 bits: table of 65536", core(1, 1, 16, 12 + 4), false, {}},
      {"header of another size", [] { auto b = info(1, 1, 24, 0, 0, 200); put32(b, 0, 108); return b; }(), false, {}},
      {"12 bytes are too few", core(1, 1, 24, 12), false, {}},
      {"info header cut short", info(1, 1, 24, 0, 0, 30), false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    DibHeader header;
    header.width = 99;  // every field is replaced, also on failure
    EXPECT_EQ(parse_dib_header(c.data.data(), static_cast<int32_t>(c.data.size()), header), c.parsed);
    EXPECT_EQ(header.width, c.expected.width);
    EXPECT_EQ(header.height, c.expected.height);
    EXPECT_EQ(header.bit_count, c.expected.bit_count);
    EXPECT_EQ(header.palette_entries, c.expected.palette_entries);
    EXPECT_EQ(header.palette_entry_size, c.expected.palette_entry_size);
    EXPECT_EQ(header.pixel_offset, c.expected.pixel_offset);
  }
  DibHeader header;
  EXPECT_FALSE(parse_dib_header(nullptr, 100, header));
}

TEST(DibLayout, FileHeaderRoundTrip) {
  uint8_t header[bitmap_file_header_size];
  write_bitmap_file_header(header, 1072, 1064);
  const uint8_t expected[] = {'B', 'M', 0x3E, 0x04, 0, 0, 0, 0, 0, 0, 0x36, 0x04, 0, 0};  // 1086 and 1078
  EXPECT_EQ(std::string(reinterpret_cast<char*>(header), 14), std::string(reinterpret_cast<const char*>(expected), 14));
  EXPECT_EQ(bitmap_data_length(header), 1072);

  struct Case {
    const char* label;
    const char* bytes;
    int32_t length;
  };
  const Case cases[] = {
      {"not BM", "MB\x20\0\0\0\0\0\0\0\0\0\0\0", -1},
      {"announces no data", "BM\x0E\0\0\0\0\0\0\0\0\0\0\0", -1},
      {"announces less than a header", "BM\x0A\0\0\0\0\0\0\0\0\0\0\0", -1},
      {"announces more than 2 GiB", "BM\xFF\xFF\xFF\xFF\0\0\0\0\0\0\0\0", -1},
      {"one byte of data", "BM\x0F\0\0\0\0\0\0\0\0\0\0\0", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(bitmap_data_length(reinterpret_cast<const uint8_t*>(c.bytes)), c.length);
  }
}

// A bitmap file: the 14-byte file header with `pixel_offset`, then `data`.
std::vector<uint8_t> bitmap_file(const std::vector<uint8_t>& data, uint32_t pixel_offset) {
  std::vector<uint8_t> file(bitmap_file_header_size);
  file[0] = 'B';
  file[1] = 'M';
  put32(file, 2, static_cast<uint32_t>(file.size() + data.size()));
  put32(file, 10, pixel_offset);
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

TEST(DibLayout, WhichBitmapFilesCanBeStored) {
  std::vector<uint8_t> not_bm = bitmap_file(info(3, 2, 24, 0, 0, 40 + 24), 14 + 40);
  not_bm[0] = 'X';
  std::vector<uint8_t> large_header = info(3, 2, 24, 0, 0, 108 + 24);
  put32(large_header, 0, 108);
  struct Case {
    const char* label;
    std::vector<uint8_t> file;
    BitmapFileCheck expected;
  };
  const Case cases[] = {
      {"24 bits, pixels after the header", bitmap_file(info(3, 2, 24, 0, 0, 40 + 24), 14 + 40), BitmapFileCheck::Plain},
      {"8 bits, pixels after the palette", bitmap_file(info(4, 2, 8, 0, 16, 104 + 8), 14 + 104), BitmapFileCheck::Plain},
      {"core header", bitmap_file(core(2, 2, 24, 12 + 16), 14 + 12), BitmapFileCheck::Plain},
      {"no BM", not_bm, BitmapFileCheck::NotABitmap},
      {"only a file header", bitmap_file({}, 14), BitmapFileCheck::NotABitmap},
      {"a 108-byte header", bitmap_file(large_header, 14 + 108), BitmapFileCheck::UnknownHeader},
      {"pixel rows cut short", bitmap_file(info(3, 2, 24, 0, 0, 40 + 20), 14 + 40), BitmapFileCheck::UnknownHeader},
      {"a gap before the pixels", bitmap_file(info(3, 2, 24, 0, 0, 40 + 4 + 24), 14 + 44),
       BitmapFileCheck::PixelsElsewhere},
  };
  for (const Case& c : cases)
    EXPECT_EQ(check_bitmap_file(c.file.data(), static_cast<int64_t>(c.file.size())), c.expected) << c.label;
  EXPECT_EQ(check_bitmap_file(nullptr, 100), BitmapFileCheck::NotABitmap);
}

}  // namespace
}  // namespace archive
