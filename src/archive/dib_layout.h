// The byte layout of device-independent bitmaps: the header fields a picture is drawn
// from, read from the bytes that follow a bitmap file's 14-byte file header, and that
// file header itself.
#pragma once

#include <stdint.h>

namespace archive {

inline constexpr int32_t bitmap_file_header_size = 14;
inline constexpr int32_t core_header_size = 12;   // width, height and bit count in 16 bits
inline constexpr int32_t info_header_size = 40;   // 32-bit width and height, compression
inline constexpr int32_t bitfields_header_size = 52;  // the info header and three colour masks

// What drawing needs to know of a picture. A width of 0 or less means no picture.
struct DibHeader {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bit_count = 0;
  int32_t palette_entries = 0;
  int32_t palette_entry_size = 0;  // 3 after a core header, 4 after an info header
  int32_t pixel_offset = 0;        // from the start of the data
};

// Reads the header of `length` bytes of data (header, colour table, pixels). False, with
// every field 0, for 12 bytes or fewer, an unknown header size (only core and info headers
// are known), or a colour table or pixel array that would end past the data.
bool parse_dib_header(const uint8_t* data, int32_t length, DibHeader& header);

// The file header of a bitmap file holding data_length bytes of data: "BM", the file
// size, two reserved zeros, the pixel offset counted from the file's start.
void write_bitmap_file_header(uint8_t out[bitmap_file_header_size], int32_t data_length, int32_t pixel_offset);

// The data length a file header announces (its file size less 14), or -1 when it does not
// start with "BM" or announces no data.
int32_t bitmap_data_length(const uint8_t header[bitmap_file_header_size]);

// Whether a whole bitmap file of `size` bytes can be stored as a picture without its file
// header: the data after that header parses, and the pixels lie where the file header
// says, because the program finds them right after the header and colour table.
enum class BitmapFileCheck {
  Plain,            // can be stored
  NotABitmap,       // no "BM", or too short for a file header and a core header
  UnknownHeader,    // neither a core nor an info header, or a header its data cannot hold
  PixelsElsewhere,  // the file header's pixel offset is not right after the colour table
};
BitmapFileCheck check_bitmap_file(const uint8_t* file, int64_t size);

}  // namespace archive
