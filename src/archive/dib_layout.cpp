// Bitmap header parsing and the bitmap file header.
#include "archive/dib_layout.h"

#include "archive/little_endian.h"

namespace archive {
namespace {

constexpr uint32_t compression_rgb = 0;
constexpr uint32_t compression_bitfields = 3;

int64_t magnitude(int32_t value) { return value < 0 ? -static_cast<int64_t>(value) : value; }

}  // namespace

bool parse_dib_header(const uint8_t* data, int32_t length, DibHeader& header) {
  header = DibHeader();
  if (data == nullptr || length <= core_header_size) return false;
  DibHeader parsed;
  int64_t header_size = load_u32(data);
  int64_t entries = 0;
  int64_t pixel_bytes = 0;
  if (header_size == core_header_size) {
    parsed.width = load_u16(data + 4);
    parsed.height = load_u16(data + 6);
    parsed.bit_count = load_u16(data + 10);
    entries = parsed.bit_count < 24 ? int64_t{1} << parsed.bit_count : 0;
    parsed.palette_entry_size = 3;
  } else if (header_size == info_header_size) {
    if (length < info_header_size) return false;
    parsed.width = load_i32(data + 4);
    parsed.height = load_i32(data + 8);
    parsed.bit_count = load_u16(data + 14);
    uint32_t compression = load_u32(data + 16);
    entries = load_u32(data + 32);
    if (entries == 0 && parsed.bit_count < 16) entries = int64_t{1} << parsed.bit_count;
    parsed.palette_entry_size = 4;
    if (compression == compression_bitfields) header_size = bitfields_header_size;
    // Compressed pixels announce their own size.
    if (compression != compression_rgb && compression != compression_bitfields) pixel_bytes = load_u32(data + 20);
  } else {
    return false;
  }
  if (pixel_bytes == 0) {
    int64_t row = (magnitude(parsed.width) * parsed.bit_count + 31) / 32 * 4;
    // Checked before multiplying: a forged size must not overflow the product.
    if (row > 0 && magnitude(parsed.height) > length / row) return false;
    pixel_bytes = row * magnitude(parsed.height);
  }
  // The drawing reads the colour table and every pixel row from the data: a header that
  // promises more than the data holds must not send it past the end.
  int64_t pixel_offset = header_size + entries * parsed.palette_entry_size;
  if (pixel_offset > length || pixel_bytes > length - pixel_offset) return false;
  parsed.palette_entries = static_cast<int32_t>(entries);
  parsed.pixel_offset = static_cast<int32_t>(pixel_offset);
  header = parsed;
  return true;
}

void write_bitmap_file_header(uint8_t out[bitmap_file_header_size], int32_t data_length, int32_t pixel_offset) {
  out[0] = 'B';
  out[1] = 'M';
  store_i32(out + 2, data_length + bitmap_file_header_size);
  store_u16(out + 6, 0);
  store_u16(out + 8, 0);
  store_i32(out + 10, pixel_offset + bitmap_file_header_size);
}

int32_t bitmap_data_length(const uint8_t header[bitmap_file_header_size]) {
  if (header[0] != 'B' || header[1] != 'M') return -1;
  int64_t size = load_u32(header + 2);
  int64_t length = size - bitmap_file_header_size;
  return length > 0 && length <= 0x7FFFFFFF ? static_cast<int32_t>(length) : -1;
}

BitmapFileCheck check_bitmap_file(const uint8_t* file, int64_t size) {
  if (file == nullptr || size < bitmap_file_header_size + core_header_size || file[0] != 'B' || file[1] != 'M')
    return BitmapFileCheck::NotABitmap;
  const int64_t data_length = size - bitmap_file_header_size;
  DibHeader header;
  if (data_length > 0x7FFFFFFF ||
      !parse_dib_header(file + bitmap_file_header_size, static_cast<int32_t>(data_length), header))
    return BitmapFileCheck::UnknownHeader;
  if (load_u32(file + 10) != static_cast<uint32_t>(bitmap_file_header_size + header.pixel_offset))
    return BitmapFileCheck::PixelsElsewhere;
  return BitmapFileCheck::Plain;
}

}  // namespace archive
