// The archive header: its fixed fields listed once for reading and writing, checks, the block.
#include "archive/archive_header.h"

#include <string.h>

#include <type_traits>

#include "archive/block_encoder.h"
#include "archive/checksum.h"
#include "archive/decompress.h"
#include "archive/format.h"
#include "archive/little_endian.h"
#include "archive/scramble.h"

namespace archive {
namespace {

// The fixed fields with their offsets, in stored order: the one list that reading and
// writing share.
template <class Header, class Visit>
void visit_fixed_fields(Header& h, Visit&& visit) {
  visit(header::kMagicOffset, h.magic);
  visit(header::kFormatVersionOffset, h.format_version);
  visit(header::kBlockSizeOffset, h.block_size);
  visit(header::kBlockSumOffset, h.block_sum);
  visit(header::kExeSumOffset, h.exe_sum);
  visit(header::kImageDataEndOffset, h.image_data_end);
  visit(header::kFileCountOffset, h.file_count);
  visit(header::kDataLengthOffset, h.data_length);
  visit(header::kDataSumOffset, h.data_sum);
}

// Reads the file sizes in pieces, so a long list needs no second buffer.
bool read_file_sizes(ByteSource& section, ArchiveHeader& h) {
  if (!h.file_sizes.try_set_count(h.file_count)) return false;
  uint8_t piece[1024];
  const int per_piece = static_cast<int>(sizeof(piece)) / header::kFileSizeWidth;
  for (int32_t done = 0; done < h.file_count;) {
    const int n = h.file_count - done < per_piece ? h.file_count - done : per_piece;
    if (!section.read_at(header::kFileSizesOffset + static_cast<int64_t>(done) * header::kFileSizeWidth, piece,
                         n * header::kFileSizeWidth))
      return false;
    for (int i = 0; i < n; ++i) {
      const int32_t size = load_i32(piece + i * header::kFileSizeWidth);
      if (size < 0 || size > header::kMaxFileSize) return false;
      h.file_sizes.at(done + i) = size;
    }
    done += n;
  }
  return true;
}

}  // namespace

bool format_version_too_new(int32_t format_version) {
  // Whole numbers: the x87 keeps the difference in a wider register, and the edge must not
  // move with the architecture.
  return format_version > header::kFormatVersion;
}

CorruptCode read_archive_header(ByteSource& section, ArchiveHeader& h, int32_t max_block_length) {
  h.file_sizes.clear();
  h.block.clear();
  h.version_too_new = false;
  h.data_offset = 0;

  uint8_t fixed[header::kFixedSize];
  if (!section.read_at(0, fixed, header::kFixedSize)) return CorruptCode::BadMagic;
  visit_fixed_fields(h, [&](int offset, auto& field) {
    field = static_cast<std::remove_reference_t<decltype(field)>>(load_u32(fixed + offset));
  });

  if (h.magic != header::kMagic) return CorruptCode::BadMagic;
  h.version = h.format_version * 0.01;
  if (format_version_too_new(h.format_version)) {
    h.version_too_new = true;
    return CorruptCode::None;
  }
  if (h.block_size < 1 || h.block_size > header::kMaxBlockSize) return CorruptCode::BadBlockSize;
  if (h.image_data_end < 0) return CorruptCode::BadImageDataEnd;
  if (h.file_count < 0) return CorruptCode::NegativeFileCount;
  if (h.data_length < 0) return CorruptCode::NegativeDataLength;

  const int64_t sizes_bytes = static_cast<int64_t>(h.file_count) * header::kFileSizeWidth;
  if (!range_within(header::kFileSizesOffset, sizes_bytes, section.size()) || !read_file_sizes(section, h))
    return CorruptCode::BadFileSize;

  const int64_t block_offset = header::kFileSizesOffset + sizes_bytes;
  h.data_offset = block_offset + h.block_size;
  if (!range_within(block_offset, h.block_size, section.size())) return CorruptCode::BadBlockSize;

  core::String stored;
  if (!stored.try_set_length(h.block_size) ||
      !section.read_at(block_offset, stored.data(), h.block_size))
    return CorruptCode::BadBlockSize;
  uint8_t* bytes = reinterpret_cast<uint8_t*>(stored.data());
  unscramble(bytes, h.block_size, h.block_sum);

  const int32_t plain_length = block_output_length(bytes, h.block_size);
  if (plain_length < 0 || plain_length > max_block_length || !h.block.try_set_length(plain_length) ||
      !decompress_into(bytes, h.block_size, reinterpret_cast<uint8_t*>(h.block.data()), plain_length)) {
    h.block.clear();
    return CorruptCode::BlockDecompress;
  }
  return CorruptCode::None;
}

CorruptCode check_block_sum(const core::String& block, uint32_t block_sum) {
  return archive_checksum(block.text(), block.length()) == block_sum ? CorruptCode::None : CorruptCode::BlockChecksum;
}

int64_t archive_header_size(int32_t file_count) {
  return header::kFixedSize + static_cast<int64_t>(file_count) * header::kFileSizeWidth;
}

void write_archive_header(const ArchiveHeader& h, const uint8_t* sealed, int32_t sealed_length, core::String& out) {
  uint8_t fixed[header::kFixedSize];
  visit_fixed_fields(h, [&](int offset, const auto& field) { store_u32(fixed + offset, static_cast<uint32_t>(field)); });
  out.append(reinterpret_cast<const char*>(fixed), header::kFixedSize);
  for (int32_t i = 0; i < h.file_sizes.count(); ++i) {
    uint8_t size[header::kFileSizeWidth];
    store_i32(size, h.file_sizes.at(i));
    out.append(reinterpret_cast<const char*>(size), header::kFileSizeWidth);
  }
  if (sealed != nullptr && sealed_length > 0) out.append(reinterpret_cast<const char*>(sealed), sealed_length);
}

bool seal_header_block(const uint8_t* plain, int32_t length, core::String& sealed, uint32_t& block_sum) {
  sealed.clear();
  if (length < 0 || (plain == nullptr && length > 0)) return false;
  const int64_t bound = encode_block_bound(length);
  if (bound > 0x7FFFFFFF || !sealed.try_set_length(static_cast<int32_t>(bound))) return false;
  uint8_t* out = reinterpret_cast<uint8_t*>(sealed.data());
  const int written = encode_block(plain, length, out, bound);
  if (written < 1 || written > header::kMaxBlockSize) {
    sealed.clear();
    return false;
  }
  sealed.set_length(written);
  block_sum = archive_checksum(plain, length);
  scramble(reinterpret_cast<uint8_t*>(sealed.data()), written, block_sum);
  return true;
}

}  // namespace archive
