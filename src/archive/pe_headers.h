// The few PE header fields the archive code reads and writes, and the PE and executable sums.
#pragma once

#include <stdint.h>

namespace archive {

// Where the fields lie in an executable's bytes. Offsets are file offsets; -1 means absent.
struct PeHeaders {
  int64_t lfanew = 0;                 // offset of "PE\0\0" (low 16 bits of the DOS field)
  int section_count = 0;              // NumberOfSections
  int size_of_optional_header = 0;
  int64_t optional_header = 0;        // lfanew + 24
  int64_t section_table = 0;          // optional_header + size_of_optional_header
  uint16_t magic = 0;                 // 0x10B (PE32), 0x20B (PE32+) or something else
  int64_t checksum_field = -1;        // the CheckSum field, when the magic is known
  int64_t certificate_entry = -1;     // data directory entry 4 (offset, size), when present
  int64_t resource_entry = -1;        // data directory entry 2 (address, size), when present
};

// Reads the layout from the first `size` bytes of an executable. False when they do not
// hold a "PE\0\0" signature, the file header and the whole optional header; the section
// table itself is not checked here.
bool read_pe_headers(const uint8_t* bytes, int64_t size, PeHeaders& out);

// The offset of data directory entry `index` for an optional header at `optional_header`
// with this magic, size and NumberOfRvaAndSizes; -1 when the header has no such entry.
int64_t data_directory_entry_offset(int64_t optional_header, uint16_t magic, int size_of_optional_header,
                                    uint32_t number_of_rva_and_sizes, int index);
// The same for entry 4, the certificate table.
int64_t certificate_entry_offset(int64_t optional_header, uint16_t magic, int size_of_optional_header,
                                 uint32_t number_of_rva_and_sizes);

// The PE image checksum (the value of the CheckSum field): 16-bit one's-complement sum of
// the whole file, the CheckSum field counted as zero, plus the file length. The 4 bytes
// at checksum_field are restored before return (-1: no field).
uint32_t pe_checksum(uint8_t* bytes, int64_t size, int64_t checksum_field);

// exe_sum: the archive checksum of the first n bytes of an installer with the CheckSum
// field and the certificate table's directory entry counted as zero, so that signing
// (which writes both) leaves it unchanged. The bytes are restored before return.
uint32_t executable_sum(uint8_t* bytes, int64_t n, const PeHeaders& pe);

}  // namespace archive
