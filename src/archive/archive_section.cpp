// The PE section walk that finds the archive section in an executable.
#include "archive/archive_section.h"

#include <string.h>

#include "archive/format.h"
#include "archive/little_endian.h"
#include "archive/pe_headers.h"

namespace archive {
namespace {

bool read_u16_at(ByteSource& file, int64_t offset, uint16_t& value) {
  uint8_t bytes[2] = {0, 0};
  if (!file.read_at(offset, bytes, 2)) return false;
  value = load_u16(bytes);
  return true;
}

// The certificate table's place from the optional header, when it can be read; a file
// without one (or with unreadable headers) leaves both values 0.
void read_certificate_entry(ByteSource& file, ArchiveSection& section, int size_of_optional_header) {
  const int64_t optional_header = section.e_lfanew + pe::kOptionalHeaderOffset;
  uint8_t head[pe::optional::kNumberOfRvaAndSizesPe32Plus + 4];
  const int want = size_of_optional_header < static_cast<int>(sizeof(head)) ? size_of_optional_header
                                                                             : static_cast<int>(sizeof(head));
  if (want < 2 || !file.read_at(optional_header, head, want)) return;
  const uint16_t magic = load_u16(head);
  const int count_field = magic == pe::optional::kMagicPe32Plus ? pe::optional::kNumberOfRvaAndSizesPe32Plus
                                                               : pe::optional::kNumberOfRvaAndSizesPe32;
  if (count_field + 4 > want) return;
  const int64_t entry =
      certificate_entry_offset(optional_header, magic, size_of_optional_header, load_u32(head + count_field));
  uint8_t values[8];
  if (entry < 0 || !file.read_at(entry, values, 8)) return;
  section.certificate_offset = load_u32(values);
  section.certificate_size = load_u32(values + 4);
}

}  // namespace

CorruptCode find_archive_section(ByteSource& file, ArchiveSection& section) {
  section = ArchiveSection{};
  section.file_size = file.size();

  uint16_t lfanew = 0;
  if (!read_u16_at(file, pe::kLfanewOffset, lfanew) || lfanew < pe::kMinLfanew || lfanew > pe::kMaxLfanew)
    return CorruptCode::BadPeOffset;
  section.e_lfanew = lfanew;

  uint16_t count = 0;
  if (!read_u16_at(file, lfanew + pe::kNumberOfSectionsOffset, count) || count < pe::kMinSections ||
      count > pe::kMaxSections)
    return CorruptCode::BadSectionCount;
  section.section_count = count;

  uint16_t optional_size = 0;
  if (!read_u16_at(file, lfanew + pe::kSizeOfOptionalHeaderOffset, optional_size))
    return CorruptCode::BadSectionCount;
  const int64_t table = lfanew + pe::kOptionalHeaderOffset + optional_size;

  for (int i = 0; i < count; ++i) {
    const int64_t position = table + static_cast<int64_t>(i) * pe::section::kEntrySize;
    uint8_t entry[pe::section::kEntrySize];
    if (!file.read_at(position, entry, pe::section::kEntrySize)) return CorruptCode::BadSectionCount;
    // The name field holds at most 8 characters and need not end in a zero byte.
    char name[pe::section::kNameSize + 1] = {};
    memcpy(name, entry + pe::section::kNameOffset, pe::section::kNameSize);
    if (strcmp(name, kSectionName) != 0) continue;

    section.found = true;
    section.index = i;
    section.table_position = position;
    section.virtual_size = load_u32(entry + pe::section::kVirtualSizeOffset);
    section.virtual_address = load_u32(entry + pe::section::kVirtualAddressOffset);
    section.raw_size = load_u32(entry + pe::section::kSizeOfRawDataOffset);
    section.raw_offset = load_u32(entry + pe::section::kPointerToRawDataOffset);
    if (section.raw_offset == 0) return CorruptCode::SectionOffsetZero;
    if (section.file_size >= 0 && section.raw_offset > section.file_size) return CorruptCode::SectionSeekFailed;
    read_certificate_entry(file, section, optional_size);
    return CorruptCode::None;
  }
  return CorruptCode::None;
}

SliceByteSource archive_section_bytes(ByteSource& file, const ArchiveSection& section) {
  const int64_t size = file.size();
  int64_t length = section.raw_size;
  if (size < static_cast<int64_t>(section.raw_offset)) {
    length = 0;
  } else if (length > size - section.raw_offset) {
    length = size - section.raw_offset;
  }
  return SliceByteSource(file, section.raw_offset, length);
}

}  // namespace archive

// --- Writing ---------------------------------------------------------------------------

namespace archive {
namespace {

bool is_power_of_two(uint32_t v) { return v != 0 && (v & (v - 1)) == 0; }

int64_t align_up(int64_t value, int64_t unit) { return (value + unit - 1) / unit * unit; }

}  // namespace

const char* write_error_text(WriteError error) {
  switch (error) {
    case WriteError::None: return "no error";
    case WriteError::NotAProgram: return "the stub is not a Windows program the installer format can carry";
    case WriteError::BadAlignment: return "the stub's section or file alignment is not a power of two";
    case WriteError::SectionCount: return "the stub must have between 3 and 98 sections";
    case WriteError::AlreadyHasArchive: return "the stub already carries an archive section";
    case WriteError::NoRoomForEntry: return "the stub's headers have no free room for one more section entry";
    case WriteError::TooLarge: return "the installer would be larger than 2 GB";
    case WriteError::VolumeTooSmall: return "the volume size is too small for the program and the archive header";
    case WriteError::BadInput: return "invalid input";
  }
  return "unknown error";
}

WriteError plan_archive_section(const uint8_t* stub, int64_t stub_size, SectionPlan& plan) {
  plan = SectionPlan{};
  PeHeaders pe;
  if (!read_pe_headers(stub, stub_size, pe) || pe.checksum_field < 0) return WriteError::NotAProgram;
  // Windows reads all 32 bits of e_lfanew, the installer only the low 16: they must agree.
  if (pe.lfanew < pe::kMinLfanew || pe.lfanew > pe::kMaxLfanew || load_u32(stub + pe::kLfanewOffset) != pe.lfanew)
    return WriteError::NotAProgram;
  const int count = pe.section_count;
  if (count + 1 < pe::kMinSections || count + 1 > pe::kMaxSections) return WriteError::SectionCount;

  const uint8_t* optional = stub + pe.optional_header;
  const uint32_t section_alignment = load_u32(optional + pe::optional::kSectionAlignmentOffset);
  const uint32_t file_alignment = load_u32(optional + pe::optional::kFileAlignmentOffset);
  if (!is_power_of_two(section_alignment) || !is_power_of_two(file_alignment)) return WriteError::BadAlignment;
  const uint32_t size_of_image = load_u32(optional + pe::optional::kSizeOfImageOffset);
  const uint32_t size_of_headers = load_u32(optional + pe::optional::kSizeOfHeadersOffset);

  const int64_t table_end = pe.section_table + static_cast<int64_t>(count) * pe::section::kEntrySize;
  const int64_t entry_end = table_end + pe::section::kEntrySize;
  if (entry_end > stub_size) return WriteError::NoRoomForEntry;

  int64_t virtual_end = size_of_image;
  int64_t first_raw = size_of_headers;
  int64_t raw_end = 0;
  for (int i = 0; i < count; ++i) {
    const uint8_t* entry = stub + pe.section_table + static_cast<int64_t>(i) * pe::section::kEntrySize;
    char name[pe::section::kNameSize + 1] = {};
    memcpy(name, entry, pe::section::kNameSize);
    if (strcmp(name, kSectionName) == 0) return WriteError::AlreadyHasArchive;
    const uint32_t virtual_size = load_u32(entry + pe::section::kVirtualSizeOffset);
    const uint32_t address = load_u32(entry + pe::section::kVirtualAddressOffset);
    const uint32_t raw_size = load_u32(entry + pe::section::kSizeOfRawDataOffset);
    const uint32_t pointer = load_u32(entry + pe::section::kPointerToRawDataOffset);
    const int64_t end = align_up(static_cast<int64_t>(address) + (virtual_size != 0 ? virtual_size : raw_size),
                                 section_alignment);
    if (end > virtual_end) virtual_end = end;
    if (raw_size != 0 && pointer != 0) {
      if (pointer < first_raw) first_raw = pointer;
      if (static_cast<int64_t>(pointer) + raw_size > raw_end) raw_end = static_cast<int64_t>(pointer) + raw_size;
    }
  }
  if (raw_end > stub_size) return WriteError::NotAProgram;
  if (entry_end > size_of_headers || entry_end > first_raw) return WriteError::NoRoomForEntry;
  for (int64_t i = table_end; i < entry_end; ++i)
    if (stub[i] != 0) return WriteError::NoRoomForEntry;

  plan.stub_end = stub_size;
  if (pe.certificate_entry >= 0) {
    const uint32_t offset = load_u32(stub + pe.certificate_entry);
    const uint32_t size = load_u32(stub + pe.certificate_entry + 4);
    if (size != 0 && offset >= raw_end && static_cast<int64_t>(offset) + size >= stub_size && offset < stub_size)
      plan.stub_end = offset;
  }
  plan.raw_offset = align_up(plan.stub_end, file_alignment);
  plan.alignment = section_alignment > file_alignment ? section_alignment : file_alignment;
  plan.virtual_address = static_cast<uint32_t>(align_up(virtual_end, section_alignment));
  if (align_up(virtual_end, section_alignment) > 0x7FFFFFFF) return WriteError::TooLarge;
  plan.entry_position = table_end;
  return WriteError::None;
}

WriteError append_archive_section(const uint8_t* stub, int64_t stub_size, const uint8_t* content,
                                  int64_t content_length, core::String& installer) {
  installer.clear();
  if (stub == nullptr || content == nullptr || content_length <= 0) return WriteError::BadInput;
  SectionPlan plan;
  if (const WriteError error = plan_archive_section(stub, stub_size, plan); error != WriteError::None) return error;

  const int64_t raw_size = align_up(content_length, plan.alignment);
  const int64_t total = plan.raw_offset + raw_size;
  if (total > 0x7FFFFFFF || static_cast<int64_t>(plan.virtual_address) + raw_size > 0xFFFFFFFFll)
    return WriteError::TooLarge;
  if (!installer.try_set_length(static_cast<int32_t>(total))) return WriteError::TooLarge;
  uint8_t* out = reinterpret_cast<uint8_t*>(installer.data());
  memset(out, 0, static_cast<size_t>(total));
  memcpy(out, stub, static_cast<size_t>(plan.stub_end));
  memcpy(out + plan.raw_offset, content, static_cast<size_t>(content_length));

  PeHeaders pe;
  read_pe_headers(out, total, pe);
  uint8_t* entry = out + plan.entry_position;
  memcpy(entry + pe::section::kNameOffset, kSectionName, sizeof(kSectionName) - 1);
  store_u32(entry + pe::section::kVirtualSizeOffset, static_cast<uint32_t>(raw_size));
  store_u32(entry + pe::section::kVirtualAddressOffset, plan.virtual_address);
  store_u32(entry + pe::section::kSizeOfRawDataOffset, static_cast<uint32_t>(raw_size));
  store_u32(entry + pe::section::kPointerToRawDataOffset, static_cast<uint32_t>(plan.raw_offset));
  store_u32(entry + pe::section::kCharacteristicsOffset, pe::section::kArchiveCharacteristics);

  store_u16(out + pe.lfanew + pe::kNumberOfSectionsOffset, static_cast<uint16_t>(pe.section_count + 1));
  uint8_t* optional = out + pe.optional_header;
  store_u32(optional + pe::optional::kSizeOfImageOffset, plan.virtual_address + static_cast<uint32_t>(raw_size));
  uint8_t* initialized = optional + pe::optional::kSizeOfInitializedDataOffset;
  store_u32(initialized, load_u32(initialized) + static_cast<uint32_t>(raw_size));
  if (pe.certificate_entry >= 0) memset(out + pe.certificate_entry, 0, pe::optional::kDataDirectoryEntrySize);

  if (content_length >= header::kExeSumOffset + 4)
    store_u32(out + plan.raw_offset + header::kExeSumOffset, executable_sum(out, plan.raw_offset, pe));
  store_u32(out + pe.checksum_field, pe_checksum(out, total, pe.checksum_field));
  return WriteError::None;
}

}  // namespace archive
