// Cutting the archive section out of an installer to make the uninstaller program.
#include "archive/uninstaller_image.h"

#include <string.h>

#include "archive/format.h"
#include "archive/little_endian.h"
#include "archive/pe_headers.h"

namespace archive {
namespace {

// Appends file bytes [from, to) to image; false when they cannot be read.
bool append_file_range(ByteSource& file, int64_t from, int64_t to, core::String& image) {
  uint8_t piece[65536];
  while (from < to) {
    const int n = to - from < static_cast<int64_t>(sizeof(piece)) ? static_cast<int>(to - from)
                                                                  : static_cast<int>(sizeof(piece));
    if (!file.read_at(from, piece, n)) return false;
    image.append(reinterpret_cast<const char*>(piece), n);
    from += n;
  }
  return true;
}

// A 32-bit field of the image, when it lies wholly inside it.
struct Field {
  uint8_t* at;
  explicit operator bool() const { return at != nullptr; }
};
Field field(core::String& image, int64_t offset, int width) {
  if (!range_within(offset, width, image.length())) return Field{nullptr};
  return Field{reinterpret_cast<uint8_t*>(image.data()) + offset};
}

void subtract_u32(core::String& image, int64_t offset, uint32_t amount) {
  if (Field f = field(image, offset, 4)) store_u32(f.at, load_u32(f.at) - amount);
}

// Whether [offset, offset + n) and [other, other + m) share a byte.
bool overlaps(int64_t offset, int64_t n, int64_t other, int64_t m) { return offset < other + m && other < offset + n; }

}  // namespace

CorruptCode build_uninstaller_image(ByteSource& file, const ArchiveSection& section, uint32_t exe_sum,
                                    bool verify_exe_sum, const UninstallerPatch& patch, core::String& image) {
  image.clear();
  const int64_t cut = section.raw_offset;
  const int64_t cut_size = section.raw_size;
  const int64_t file_size = file.size();

  if (!image.try_set_length(static_cast<int32_t>(cut)) || !file.read_at(0, image.data(), static_cast<int>(cut))) {
    image.clear();
    return CorruptCode::ExecutableUnreadable;
  }
  PeHeaders pe;
  read_pe_headers(reinterpret_cast<const uint8_t*>(image.text()), image.length(), pe);
  if (verify_exe_sum && executable_sum(reinterpret_cast<uint8_t*>(image.data()), image.length(), pe) != exe_sum) {
    image.clear();
    return CorruptCode::ExecutableChecksum;
  }

  // What follows the section, less a certificate table there: a signature of the
  // installer would be wrong for the uninstaller and its directory entry would point
  // past the cut.
  const int64_t tail = cut + cut_size;
  const int64_t certificate = section.certificate_offset;
  const int64_t certificate_end = certificate + section.certificate_size;
  const bool drop_certificate = section.certificate_size > 0 && certificate >= tail && certificate_end <= file_size;
  if (file_size > tail) {
    const bool read = drop_certificate ? append_file_range(file, tail, certificate, image) &&
                                             append_file_range(file, certificate_end, file_size, image)
                                       : append_file_range(file, tail, file_size, image);
    if (!read) {
      image.clear();
      return CorruptCode::TrailingBytesUnreadable;
    }
  }

  // The headers lie in the bytes before the cut; fields outside the image are left alone.
  const int64_t lfanew = section.e_lfanew;
  const int count = section.section_count - 1;
  if (Field f = field(image, lfanew + pe::kNumberOfSectionsOffset, 2)) store_u16(f.at, static_cast<uint16_t>(count));
  subtract_u32(image, lfanew + pe::kSizeOfInitializedDataFromLfanew, static_cast<uint32_t>(cut_size));
  subtract_u32(image, lfanew + pe::kSizeOfImageFromLfanew, static_cast<uint32_t>(cut_size));

  // Entries index..count take the next entry's bytes; the last slot takes whatever
  // follows the table (zeros in a program with room for the entry).
  const int64_t table = section.table_position - static_cast<int64_t>(section.index) * pe::section::kEntrySize;
  for (int i = section.index; i <= count; ++i) {
    Field to = field(image, table + static_cast<int64_t>(i) * pe::section::kEntrySize, pe::section::kEntrySize);
    if (!to) break;
    Field from = field(image, table + static_cast<int64_t>(i + 1) * pe::section::kEntrySize, pe::section::kEntrySize);
    if (from) {
      memmove(to.at, from.at, pe::section::kEntrySize);
    } else {
      memset(to.at, 0, pe::section::kEntrySize);
    }
  }
  // Every section whose raw data came after the archive's now starts SizeOfRawData earlier.
  for (int i = 0; i < count; ++i) {
    const int64_t pointer = table + static_cast<int64_t>(i) * pe::section::kEntrySize + pe::section::kPointerToRawDataOffset;
    Field f = field(image, pointer, 4);
    if (f && cut_size > 0 && load_u32(f.at) >= tail) store_u32(f.at, load_u32(f.at) - static_cast<uint32_t>(cut_size));
  }

  if (drop_certificate) {
    if (Field f = field(image, pe.certificate_entry, pe::optional::kDataDirectoryEntrySize))
      memset(f.at, 0, pe::optional::kDataDirectoryEntrySize);
  }

  uint8_t* bytes = reinterpret_cast<uint8_t*>(image.data());
  const bool patched = apply_uninstaller_patch(patch, bytes, image.length());
  const bool patch_wrote_checksum =
      patched && overlaps(patch.offset, patch.bytes.length(), pe.checksum_field, 4);
  if (!patch_wrote_checksum) {
    if (Field f = field(image, pe.checksum_field, 4)) {
      if (load_u32(f.at) != 0) store_u32(f.at, pe_checksum(bytes, image.length(), pe.checksum_field));
    }
  }
  return CorruptCode::None;
}

}  // namespace archive
