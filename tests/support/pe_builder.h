// Tiny PE programs made in memory for the archive container tests: any section count,
// PE32 or PE32+, optional overlay and certificate table. Structurally valid, not runnable.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace test_support {

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& b, size_t at, uint32_t v) {
  if (b.size() < at + 2) b.resize(at + 2);
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void put32(Bytes& b, size_t at, uint32_t v) {
  put16(b, at, v & 0xFFFF);
  put16(b, at + 2, v >> 16);
}
inline uint32_t get16(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8; }
inline uint32_t get32(const Bytes& b, size_t at) { return get16(b, at) | get16(b, at + 2) << 16; }
inline size_t round_up(size_t v, size_t a) { return (v + a - 1) / a * a; }

struct PeShape {
  int sections = 3;
  bool pe32_plus = true;
  uint32_t lfanew = 0x80;
  uint32_t file_alignment = 0x200;
  uint32_t section_alignment = 0x1000;
  uint32_t size_of_headers = 0x400;
  bool real_checksum = false;  // CheckSum set to the file's real PE checksum (else 0)
  size_t overlay = 0;          // bytes of data after the last section
};

// Offsets of the fields the tests look at.
struct PeFields {
  size_t lfanew, optional, table, checksum, certificate, size_of_image, initialized;
};

inline PeFields pe_fields(const Bytes& pe) {
  PeFields f{};
  f.lfanew = get16(pe, 0x3C);
  f.optional = f.lfanew + 24;
  f.table = f.optional + get16(pe, f.lfanew + 20);
  f.checksum = f.optional + 64;
  f.certificate = f.optional + (get16(pe, f.optional) == 0x20B ? 112 : 96) + 4 * 8;
  f.size_of_image = f.optional + 56;
  f.initialized = f.optional + 8;
  return f;
}

// The PE checksum written independently of the code under test (the documented
// 16-bit folding sum over the file, CheckSum as zero, plus the length).
inline uint32_t reference_pe_checksum(const Bytes& pe) {
  const size_t field = pe_fields(pe).checksum;
  uint32_t sum = 0;
  for (size_t i = 0; i < pe.size(); i += 2) {
    uint32_t word = pe[i] | (i + 1 < pe.size() ? pe[i + 1] << 8 : 0);
    if (i == field || i == field + 2) word = 0;
    sum += word;
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return (sum & 0xFFFF) + static_cast<uint32_t>(pe.size());
}

// A program with `shape.sections` sections named .s0, .s1, ... each with one file
// alignment unit of patterned raw data and one section alignment unit of address space.
inline Bytes make_program(const PeShape& shape = PeShape()) {
  const size_t opt_size = shape.pe32_plus ? 240 : 224;
  const size_t opt = shape.lfanew + 24, table = opt + opt_size;
  Bytes pe(shape.size_of_headers, 0);
  pe[0] = 'M';
  pe[1] = 'Z';
  put32(pe, 0x3C, shape.lfanew);
  put32(pe, shape.lfanew, 0x00004550);
  put16(pe, shape.lfanew + 4, shape.pe32_plus ? 0x8664 : 0x14C);
  put16(pe, shape.lfanew + 6, shape.sections);
  put16(pe, shape.lfanew + 20, static_cast<uint32_t>(opt_size));
  put16(pe, shape.lfanew + 22, 0x22);
  put16(pe, opt, shape.pe32_plus ? 0x20B : 0x10B);
  put32(pe, opt + 8, shape.sections * shape.file_alignment);  // SizeOfInitializedData
  put32(pe, opt + 16, shape.section_alignment);
  put32(pe, opt + 32, shape.section_alignment);
  put32(pe, opt + 36, shape.file_alignment);
  put16(pe, opt + 48, 6);
  put32(pe, opt + 56, (shape.sections + 1) * shape.section_alignment);
  put32(pe, opt + 60, shape.size_of_headers);
  put16(pe, opt + 68, 2);
  put32(pe, opt + (shape.pe32_plus ? 108 : 92), 16);
  for (int i = 0; i < shape.sections; ++i) {
    const size_t e = table + i * 40;
    const std::string name = ".s" + std::to_string(i);
    for (size_t k = 0; k < name.size(); ++k) pe[e + k] = static_cast<uint8_t>(name[k]);
    put32(pe, e + 8, shape.file_alignment / 2);
    put32(pe, e + 12, (i + 1) * shape.section_alignment);
    put32(pe, e + 16, shape.file_alignment);
    put32(pe, e + 20, static_cast<uint32_t>(pe.size()));
    put32(pe, e + 36, 0x40000040u);
    for (uint32_t k = 0; k < shape.file_alignment; ++k) pe.push_back(static_cast<uint8_t>(i * 37 + k * 11));
  }
  for (size_t k = 0; k < shape.overlay; ++k) pe.push_back(static_cast<uint8_t>(0xA5 ^ k));
  if (shape.real_checksum) put32(pe, pe_fields(pe).checksum, reference_pe_checksum(pe));
  return pe;
}

// Appends a fake certificate table (what a signing tool adds: 8-byte aligned, at the end)
// and points data directory entry 4 at it; sets the real checksum as signing tools do.
inline void add_certificate(Bytes& pe, size_t size = 0x300) {
  pe.resize(round_up(pe.size(), 8), 0);
  const size_t offset = pe.size();
  for (size_t k = 0; k < size; ++k) pe.push_back(static_cast<uint8_t>(0x30 + k % 7));
  put32(pe, offset, static_cast<uint32_t>(size));
  const PeFields f = pe_fields(pe);
  put32(pe, f.certificate, static_cast<uint32_t>(offset));
  put32(pe, f.certificate + 4, static_cast<uint32_t>(size));
  put32(pe, f.checksum, reference_pe_checksum(pe));
}

}  // namespace test_support
