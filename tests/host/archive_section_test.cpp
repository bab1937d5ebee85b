// The archive section: finding it in an executable, and adding it to a stub.
#include <gtest/gtest.h>
#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "archive/archive_section.h"
#include "archive/checksum.h"
#include "archive/format.h"
#include "support/installer_builder.h"
#include "support/pe_builder.h"

namespace {

using archive::CorruptCode;
using test_support::Bytes;
using test_support::get16;
using test_support::get32;
using test_support::put16;
using test_support::put32;

struct Found {
  CorruptCode code;
  archive::ArchiveSection section;
};

Found find(Bytes bytes) {
  archive::MemoryByteSource source(bytes.data(), static_cast<int64_t>(bytes.size()));
  Found f;
  f.code = archive::find_archive_section(source, f.section);
  return f;
}

// The table entry of section i of an installer made from the default stub.
size_t entry(const Bytes& pe, int i) { return test_support::pe_fields(pe).table + i * 40; }

TEST(FindArchiveSection, DamagedHeadersGiveTheirCodes) {
  const Bytes installer = test_support::build_installer(test_support::make_program()).installer;
  const size_t lfanew = 0x80;
  const size_t archive = entry(installer, 3);
  struct Case {
    const char* label;
    std::function<void(Bytes&)> damage;
    CorruptCode code;
    bool found;
  };
  const Case cases[] = {
      {"intact", [](Bytes&) {}, CorruptCode::None, true},
      {"name in capitals is not ours", [&](Bytes& b) { memcpy(&b[archive], ".QVIN", 5); }, CorruptCode::None, false},
      {"longer name is not ours", [&](Bytes& b) { b[archive + 5] = 'x'; }, CorruptCode::None, false},
      {"bytes after the name's zero do not count", [&](Bytes& b) { b[archive + 7] = 'x'; }, CorruptCode::None, true},
      {"e_lfanew 63", [](Bytes& b) { put16(b, 0x3C, 63); }, CorruptCode::BadPeOffset, false},
      {"e_lfanew 4097", [](Bytes& b) { put16(b, 0x3C, 4097); }, CorruptCode::BadPeOffset, false},
      {"e_lfanew unreadable", [](Bytes& b) { b.resize(0x3D); }, CorruptCode::BadPeOffset, false},
      {"3 sections", [&](Bytes& b) { put16(b, lfanew + 6, 3); }, CorruptCode::BadSectionCount, false},
      {"100 sections", [&](Bytes& b) { put16(b, lfanew + 6, 100); }, CorruptCode::BadSectionCount, false},
      {"count unreadable", [&](Bytes& b) { b.resize(lfanew + 7); }, CorruptCode::BadSectionCount, false},
      {"table cut short", [&](Bytes& b) { b.resize(archive + 20); }, CorruptCode::BadSectionCount, false},
      {"raw data offset 0", [&](Bytes& b) { put32(b, archive + 20, 0); }, CorruptCode::SectionOffsetZero, true},
      {"raw data beyond the end", [&](Bytes& b) { put32(b, archive + 20, static_cast<uint32_t>(b.size() + 1)); },
       CorruptCode::SectionSeekFailed, true},
  };
  for (const Case& c : cases) {
    Bytes bytes = installer;
    c.damage(bytes);
    const Found f = find(bytes);
    EXPECT_EQ(f.code, c.code) << c.label;
    EXPECT_EQ(f.section.found, c.found) << c.label;
  }
}

TEST(FindArchiveSection, ReportsTheEntryAndTheFirstMatchWins) {
  Bytes installer = test_support::build_installer(test_support::make_program()).installer;
  const size_t archive = entry(installer, 3);
  const Found f = find(installer);
  ASSERT_EQ(f.code, CorruptCode::None);
  EXPECT_EQ(f.section.index, 3);
  EXPECT_EQ(f.section.section_count, 4);
  EXPECT_EQ(f.section.e_lfanew, 0x80);
  EXPECT_EQ(f.section.table_position, static_cast<int64_t>(archive));
  EXPECT_EQ(f.section.virtual_address, get32(installer, archive + 12));
  EXPECT_EQ(f.section.raw_size, get32(installer, archive + 16));
  EXPECT_EQ(f.section.raw_offset, get32(installer, archive + 20));
  EXPECT_EQ(f.section.file_size, static_cast<int64_t>(installer.size()));

  // A second entry of the same name earlier in the table is the one found.
  memcpy(&installer[entry(installer, 1)], ".qvin\0\0", 8);
  EXPECT_EQ(find(installer).section.index, 1);
}

// Facts every installer the writer makes must show, for any stub shape.
void expect_consistent_installer(const char* label, const Bytes& stub, const Bytes& installer, size_t content) {
  using test_support::pe_fields;
  const test_support::PeFields f = pe_fields(installer);
  const int count = static_cast<int>(get16(stub, f.lfanew + 6));
  ASSERT_EQ(get16(installer, f.lfanew + 6), static_cast<uint32_t>(count + 1)) << label;
  const size_t e = f.table + count * 40;
  const uint32_t section_alignment = get32(installer, f.optional + 32);
  const uint32_t file_alignment = get32(installer, f.optional + 36);
  const uint32_t virtual_size = get32(installer, e + 8), address = get32(installer, e + 12);
  const uint32_t raw_size = get32(installer, e + 16), raw = get32(installer, e + 20);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&installer[e]), 8), std::string(".qvin\0\0\0", 8)) << label;
  EXPECT_EQ(get32(installer, e + 36), 0x40000040u) << label;
  EXPECT_EQ(virtual_size, raw_size) << label;
  EXPECT_GE(raw_size, content) << label;
  EXPECT_EQ(raw_size % section_alignment, 0u) << label;
  EXPECT_EQ(raw_size % file_alignment, 0u) << label;
  EXPECT_EQ(raw % file_alignment, 0u) << label;
  EXPECT_GE(raw, stub.size()) << label;
  EXPECT_EQ(address % section_alignment, 0u) << label;
  EXPECT_EQ(address, get32(stub, f.size_of_image)) << label;
  EXPECT_EQ(get32(installer, f.size_of_image), address + raw_size) << label;
  EXPECT_EQ(get32(installer, f.initialized), get32(stub, f.initialized) + raw_size) << label;
  EXPECT_EQ(installer.size(), static_cast<size_t>(raw) + raw_size) << label;
  EXPECT_EQ(get32(installer, f.checksum), test_support::reference_pe_checksum(installer)) << label;
  // exe_sum: the bytes before the section with CheckSum and the certificate entry as zero.
  Bytes prefix(installer.begin(), installer.begin() + raw);
  put32(prefix, f.checksum, 0);
  put32(prefix, f.certificate, 0);
  put32(prefix, f.certificate + 4, 0);
  EXPECT_EQ(get32(installer, raw + 16), archive::archive_checksum(prefix.data(), raw)) << label;
  // Everything before the new entry is the stub's own, but for the fields named above.
  for (size_t i = 0; i < stub.size() && i < raw; ++i) {
    const bool changed_field = (i >= f.lfanew + 6 && i < f.lfanew + 8) || (i >= f.checksum && i < f.checksum + 4) ||
                               (i >= f.size_of_image && i < f.size_of_image + 4) ||
                               (i >= f.initialized && i < f.initialized + 4) || (i >= e && i < e + 40);
    if (!changed_field && stub[i] != installer[i]) {
      ADD_FAILURE() << label << ": stub byte " << i << " changed";
      break;
    }
  }
}

TEST(AppendArchiveSection, MakesAConsistentProgramForEveryStubShape) {
  struct Case {
    const char* label;
    test_support::PeShape shape;
  };
  test_support::PeShape pe32;
  pe32.pe32_plus = false;
  test_support::PeShape many;
  many.sections = 14;
  test_support::PeShape small_alignment;
  small_alignment.section_alignment = 0x200;
  test_support::PeShape overlay;
  overlay.overlay = 77;
  test_support::PeShape checksummed;
  checksummed.real_checksum = true;
  const Case cases[] = {{"PE32+", {}},          {"PE32", pe32},         {"14 sections", many},
                        {"alignment 0x200", small_alignment}, {"overlay", overlay}, {"real checksum", checksummed}};
  for (const Case& c : cases) {
    const Bytes stub = test_support::make_program(c.shape);
    for (size_t content : {size_t{40}, size_t{0x1000}, size_t{0x1001}, size_t{50000}}) {
      const Bytes body = test_support::noise(content);
      core::String out;
      ASSERT_EQ(archive::append_archive_section(stub.data(), static_cast<int64_t>(stub.size()), body.data(),
                                                static_cast<int64_t>(body.size()), out),
                archive::WriteError::None)
          << c.label;
      const Bytes installer = test_support::bytes_of(out);
      const std::string label = std::string(c.label) + ", content " + std::to_string(content);
      expect_consistent_installer(label.c_str(), stub, installer, content);
      const Found f = find(installer);
      EXPECT_EQ(f.code, CorruptCode::None) << label;
      ASSERT_TRUE(f.section.found) << label;
      EXPECT_EQ(0, memcmp(&installer[f.section.raw_offset + 20], &body[20], content - 20)) << label;
    }
  }
}

TEST(AppendArchiveSection, RefusesStubsThatCannotTakeTheSection) {
  struct Case {
    const char* label;
    std::function<Bytes()> stub;
    archive::WriteError error;
  };
  auto shaped = [](auto change) {
    return [change] {
      test_support::PeShape shape;
      change(shape);
      return test_support::make_program(shape);
    };
  };
  const Case cases[] = {
      {"not a program", [] { return Bytes(0x400, 'M'); }, archive::WriteError::NotAProgram},
      {"two sections", shaped([](auto& s) { s.sections = 2; }), archive::WriteError::SectionCount},
      {"99 sections", shaped([](auto& s) { s.sections = 99; s.size_of_headers = 0x1200; }),
       archive::WriteError::SectionCount},
      {"headers full", shaped([](auto& s) { s.sections = 15; }), archive::WriteError::NoRoomForEntry},
      {"free slot not zero",
       [] {
         Bytes b = test_support::make_program();
         b[test_support::pe_fields(b).table + 3 * 40 + 9] = 1;
         return b;
       },
       archive::WriteError::NoRoomForEntry},
      {"alignment 0x300", shaped([](auto& s) { s.file_alignment = 0x300; }), archive::WriteError::BadAlignment},
      {"already an installer",
       [] { return test_support::build_installer(test_support::make_program()).installer; },
       archive::WriteError::AlreadyHasArchive},
  };
  for (const Case& c : cases) {
    const Bytes stub = c.stub();
    const Bytes body(100, 7);
    core::String out;
    EXPECT_EQ(archive::append_archive_section(stub.data(), static_cast<int64_t>(stub.size()), body.data(), 100, out),
              c.error)
        << c.label;
    EXPECT_EQ(out.length(), 0) << c.label;
    EXPECT_STRNE(archive::write_error_text(c.error), "unknown error") << c.label;
  }
  // 98 sections is the most a stub may have.
  test_support::PeShape most;
  most.sections = 98;
  most.size_of_headers = 0x1200;
  const Bytes stub = test_support::make_program(most);
  EXPECT_EQ(test_support::build_installer(stub).error, archive::WriteError::None);
}

TEST(AppendArchiveSection, DropsTheStubsSignature) {
  const Bytes unsigned_stub = test_support::make_program();
  Bytes stub = unsigned_stub;
  test_support::add_certificate(stub);
  const Bytes installer = test_support::build_installer(stub).installer;
  const test_support::PeFields f = test_support::pe_fields(installer);
  EXPECT_EQ(get32(installer, f.certificate), 0u);
  EXPECT_EQ(get32(installer, f.certificate + 4), 0u);
  const Found found = find(installer);
  ASSERT_TRUE(found.section.found);
  EXPECT_EQ(found.section.raw_offset, unsigned_stub.size()) << "the certificate bytes are gone";
}

}  // namespace
