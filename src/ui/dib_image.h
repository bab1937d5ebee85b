// A device-independent bitmap held in memory: loaded from bytes or a bitmap file, saved
// as a bitmap file, drawn stretched into a box.
#pragma once

#include <stdint.h>

#include "core/string.h"
#include "core/win/windows.h"
#include "archive/dib_layout.h"
#include "ui/picture_layout.h"

namespace ui {

class DibImage {
 public:
  // Copies length bytes (header, colour table, pixels: a bitmap file without its file
  // header) and reads the header. Null bytes or a length of 0 or less fail and leave the
  // image as it was; bytes without a usable header leave it empty.
  bool load_bytes(const char* bytes, int32_t length);

  // Reads a bitmap file. A relative path is taken from the program's directory, and
  // ".bmp" is added to a name without an extension. A file that does not open or does not
  // start with "BM" fails and leaves the image as it was; one that cannot be read whole
  // or has no usable header fails and leaves it empty.
  bool load_file(const char* path);

  // Writes the image as a new bitmap file; an empty image writes nothing and fails.
  bool save_file(const char* path) const;

  bool is_empty() const { return header_.width <= 0; }
  // Forgets the picture.
  void clear();

  // StretchDIBits of the whole picture onto the box with the raster operation; nothing
  // for a null device context or an empty image.
  void draw(HDC dc, const PictureBox& box, DWORD raster_operation) const;

  const archive::DibHeader& header() const { return header_; }
  int32_t width() const { return header_.width; }
  int32_t height() const { return header_.height; }
  // Header, colour table and pixels.
  const core::String& data() const { return data_; }

 private:
  bool parse();

  archive::DibHeader header_;
  core::String data_;
};

}  // namespace ui
