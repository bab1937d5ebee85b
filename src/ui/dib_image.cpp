// Device-independent bitmaps: loading, saving and drawing.
#include "ui/dib_image.h"

#include <string.h>

#include "core/paths.h"
#include "core/win/file.h"
#include "core/win/whole_file.h"

namespace ui {
namespace {

core::String program_directory() {
  char path[MAX_PATH + 1];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return core::String();
  path[length] = 0;
  return core::directory_part(path);
}

}  // namespace

bool DibImage::parse() {
  bool parsed = archive::parse_dib_header(reinterpret_cast<const uint8_t*>(data_.text()), data_.length(), header_);
  // A picture without a usable header is no picture: its bytes are not kept.
  if (!parsed) data_.clear();
  return parsed;
}

void DibImage::clear() {
  header_ = archive::DibHeader();
  data_.clear();
}

bool DibImage::load_bytes(const char* bytes, int32_t length) {
  if (bytes == nullptr || length <= 0) return false;
  // The size comes from data: a failed allocation is a failed load, not the end.
  if (!data_.try_set_length(length)) {
    clear();
    return false;
  }
  memcpy(data_.data(), bytes, static_cast<size_t>(length));
  return parse();
}

bool DibImage::load_file(const char* path) {
  core::String name(path);
  core::String directory = program_directory();
  if (!directory.is_empty()) core::resolve_path(name, directory.text());
  if (core::file_name_part(name.text()).find_char('.') < 0) name.append(".bmp");

  core::File file;
  if (file.open(name.text(), core::file_open::ReadShared) != core::OpenResult::Opened) return false;
  uint8_t file_header[archive::bitmap_file_header_size];
  if (!file.read_block(file_header, archive::bitmap_file_header_size)) return false;
  if (file_header[0] != 'B' || file_header[1] != 'M') return false;
  int32_t length = archive::bitmap_data_length(file_header);
  // The announced size is read whole or not at all; a short file is a damaged picture.
  if (length <= 0 || length > file.size() - archive::bitmap_file_header_size || !data_.try_set_length(length) ||
      !file.read_block(data_.data(), length)) {
    clear();
    return false;
  }
  file.close();
  return parse();
}

bool DibImage::save_file(const char* path) const {
  if (is_empty()) return false;
  core::String bytes;
  bytes.set_length(archive::bitmap_file_header_size);
  archive::write_bitmap_file_header(reinterpret_cast<uint8_t*>(bytes.data()), data_.length(), header_.pixel_offset);
  bytes.append(data_);
  return core::write_file(path, bytes.text(), bytes.length());
}

void DibImage::draw(HDC dc, const PictureBox& box, DWORD raster_operation) const {
  if (dc == nullptr || is_empty()) return;
  const char* data = data_.text();
  StretchDIBits(dc, box.left, box.top, box.width(), box.height(), 0, 0, header_.width, header_.height,
                data + header_.pixel_offset, reinterpret_cast<const BITMAPINFO*>(data), DIB_RGB_COLORS,
                raster_operation);
}

}  // namespace ui
