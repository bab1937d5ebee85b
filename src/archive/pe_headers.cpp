// PE layout lookup, the PE image checksum and the archive's executable sum.
#include "archive/pe_headers.h"

#include <string.h>

#include "archive/checksum.h"
#include "archive/format.h"
#include "archive/little_endian.h"

namespace archive {
namespace {

// Zeroes the bytes of [offset, offset + width) that lie inside [0, size) and keeps the old
// values so they can be put back.
struct FieldBlank {
  uint8_t* bytes;
  int64_t size;
  int64_t offset;
  int width;
  uint8_t saved[8];

  FieldBlank(uint8_t* b, int64_t s, int64_t o, int w) : bytes(b), size(s), offset(o), width(w) {
    for (int i = 0; i < width; ++i) {
      if (inside(i)) {
        saved[i] = bytes[offset + i];
        bytes[offset + i] = 0;
      }
    }
  }
  ~FieldBlank() {
    for (int i = 0; i < width; ++i)
      if (inside(i)) bytes[offset + i] = saved[i];
  }
  bool inside(int i) const { return offset >= 0 && offset + i < size; }
};

}  // namespace

int64_t data_directory_entry_offset(int64_t optional_header, uint16_t magic, int size_of_optional_header,
                                    uint32_t number_of_rva_and_sizes, int index) {
  int directory = 0;
  if (magic == pe::optional::kMagicPe32) {
    directory = pe::optional::kDataDirectoryPe32;
  } else if (magic == pe::optional::kMagicPe32Plus) {
    directory = pe::optional::kDataDirectoryPe32Plus;
  } else {
    return -1;
  }
  const int entry = directory + index * pe::optional::kDataDirectoryEntrySize;
  if (number_of_rva_and_sizes <= static_cast<uint32_t>(index)) return -1;
  if (entry + pe::optional::kDataDirectoryEntrySize > size_of_optional_header) return -1;
  return optional_header + entry;
}

int64_t certificate_entry_offset(int64_t optional_header, uint16_t magic, int size_of_optional_header,
                                 uint32_t number_of_rva_and_sizes) {
  return data_directory_entry_offset(optional_header, magic, size_of_optional_header, number_of_rva_and_sizes,
                                     pe::optional::kCertificateTableIndex);
}

bool read_pe_headers(const uint8_t* bytes, int64_t size, PeHeaders& out) {
  out = PeHeaders{};
  if (bytes == nullptr || size < pe::kLfanewOffset + 2) return false;
  out.lfanew = load_u16(bytes + pe::kLfanewOffset);
  out.optional_header = out.lfanew + pe::kOptionalHeaderOffset;
  if (out.optional_header > size || load_u32(bytes + out.lfanew) != pe::kSignature) return false;
  out.section_count = load_u16(bytes + out.lfanew + pe::kNumberOfSectionsOffset);
  out.size_of_optional_header = load_u16(bytes + out.lfanew + pe::kSizeOfOptionalHeaderOffset);
  out.section_table = out.optional_header + out.size_of_optional_header;
  if (out.section_table > size) return false;

  // The fields below exist only in a full optional header of a known kind.
  if (out.size_of_optional_header < 2) return true;
  out.magic = load_u16(bytes + out.optional_header);
  const bool plus = out.magic == pe::optional::kMagicPe32Plus;
  if (out.magic != pe::optional::kMagicPe32 && !plus) return true;
  if (out.size_of_optional_header >= pe::optional::kCheckSumOffset + 4)
    out.checksum_field = out.optional_header + pe::optional::kCheckSumOffset;
  const int count_field = plus ? pe::optional::kNumberOfRvaAndSizesPe32Plus : pe::optional::kNumberOfRvaAndSizesPe32;
  if (out.size_of_optional_header >= count_field + 4) {
    const uint32_t entries = load_u32(bytes + out.optional_header + count_field);
    out.certificate_entry = certificate_entry_offset(out.optional_header, out.magic, out.size_of_optional_header, entries);
    out.resource_entry = data_directory_entry_offset(out.optional_header, out.magic, out.size_of_optional_header,
                                                     entries, pe::optional::kResourceTableIndex);
  }
  return true;
}

uint32_t pe_checksum(uint8_t* bytes, int64_t size, int64_t checksum_field) {
  if (bytes == nullptr || size <= 0) return 0;
  FieldBlank blank(bytes, size, checksum_field, 4);
  uint64_t sum = 0;
  const int64_t words = size / 2;
  for (int64_t i = 0; i < words; ++i) {
    sum += static_cast<uint32_t>(bytes[2 * i]) | static_cast<uint32_t>(bytes[2 * i + 1]) << 8;
    // Folding now and then is enough: the carries fold in the same way at the end.
    if ((i & 0xFFFF) == 0xFFFF) sum = (sum & 0xFFFF) + (sum >> 16);
  }
  if (size & 1) sum += bytes[size - 1];
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint32_t>(sum) + static_cast<uint32_t>(size);
}

uint32_t executable_sum(uint8_t* bytes, int64_t n, const PeHeaders& pe) {
  FieldBlank checksum(bytes, n, pe.checksum_field, 4);
  FieldBlank certificate(bytes, n, pe.certificate_entry, pe::optional::kDataDirectoryEntrySize);
  return archive_checksum(bytes, n);
}

}  // namespace archive
