// The uninstaller image: the installer less its archive section, equal to the stub it came from.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "archive/archive_header.h"
#include "archive/archive_section.h"
#include "archive/checksum.h"
#include "archive/uninstaller_image.h"
#include "support/installer_builder.h"

namespace {

using archive::CorruptCode;
using test_support::Bytes;
using test_support::get16;
using test_support::get32;
using test_support::put32;

// Memory whose reads fail from offset `fail_from` on.
class FailingSource : public archive::ByteSource {
 public:
  FailingSource(const Bytes& bytes, int64_t fail_from) : inner_(bytes.data(), static_cast<int64_t>(bytes.size())), fail_from_(fail_from) {}
  int64_t size() override { return inner_.size(); }
  bool read_at(int64_t offset, void* buf, int n) override {
    return offset + n <= fail_from_ && inner_.read_at(offset, buf, n);
  }

 private:
  archive::MemoryByteSource inner_;
  int64_t fail_from_;
};

struct Cut {
  CorruptCode code;
  Bytes image;
  archive::ArchiveSection section;
};

Cut cut(const Bytes& installer, bool verify = true, const archive::UninstallerPatch& patch = {},
        int64_t fail_from = -1) {
  Cut result;
  archive::MemoryByteSource file(installer.data(), static_cast<int64_t>(installer.size()));
  EXPECT_EQ(archive::find_archive_section(file, result.section), CorruptCode::None);
  archive::ArchiveHeader header;
  archive::SliceByteSource bytes = archive::archive_section_bytes(file, result.section);
  archive::read_archive_header(bytes, header);  // a hand-made section has no header: exe_sum 0
  FailingSource source(installer, fail_from < 0 ? static_cast<int64_t>(installer.size()) : fail_from);
  core::String image;
  result.code = archive::build_uninstaller_image(source, result.section, header.exe_sum, verify, patch, image);
  result.image = test_support::bytes_of(image);
  return result;
}

// The stub as the uninstaller should give it back: padded to the section's raw data
// offset, with the checksum the uninstaller image carries (its own real one).
Bytes expected_uninstaller(const Bytes& stub, size_t raw_offset) {
  Bytes out = stub;
  out.resize(raw_offset, 0);
  put32(out, test_support::pe_fields(out).checksum, test_support::reference_pe_checksum(out));
  return out;
}

TEST(BuildUninstallerImage, GivesBackTheStub) {
  struct Case {
    const char* label;
    test_support::PeShape shape;
    int64_t volume_size;
    bool identical;  // byte for byte, checksum included
  };
  test_support::PeShape checksummed;
  checksummed.real_checksum = true;
  test_support::PeShape pe32;
  pe32.pe32_plus = false;
  test_support::PeShape overlay;
  overlay.overlay = 77;
  test_support::PeShape small_alignment;
  small_alignment.section_alignment = 0x200;
  const Case cases[] = {
      {"stub with a real checksum", checksummed, 0, true},
      {"stub with a real checksum, volumes", checksummed, 0x3000, true},
      {"stub without a checksum", {}, 0, false},
      {"PE32 stub", pe32, 0, false},
      {"stub with overlay", overlay, 0, false},
      {"small section alignment", small_alignment, 0, false},
  };
  for (const Case& c : cases) {
    const Bytes stub = test_support::make_program(c.shape);
    test_support::ArchiveRecipe recipe;
    recipe.data = test_support::noise(20000);
    recipe.volume_size = c.volume_size;
    const test_support::BuiltInstaller built = test_support::build_installer(stub, recipe);
    ASSERT_EQ(built.error, archive::WriteError::None) << c.label;
    ASSERT_EQ(built.volumes.empty(), c.volume_size == 0) << c.label;
    const Cut u = cut(built.installer);
    ASSERT_EQ(u.code, CorruptCode::None) << c.label;
    EXPECT_EQ(u.image, expected_uninstaller(stub, u.section.raw_offset)) << c.label;
    EXPECT_EQ(u.image == stub, c.identical) << c.label;
    EXPECT_EQ(get32(u.image, test_support::pe_fields(u.image).checksum), test_support::reference_pe_checksum(u.image))
        << c.label;
  }
}

TEST(BuildUninstallerImage, SignedInstallerGivesAnUnsignedStub) {
  test_support::PeShape shape;
  shape.real_checksum = true;
  const Bytes stub = test_support::make_program(shape);
  Bytes installer = test_support::build_installer(stub).installer;
  const size_t unsigned_size = installer.size();
  test_support::add_certificate(installer);
  // Signing changed CheckSum and the certificate entry, both before the section: a sum
  // over the raw bytes would no longer match, the executable sum still does.
  const Cut u = cut(installer, true);
  ASSERT_EQ(u.code, CorruptCode::None);
  EXPECT_NE(archive::archive_checksum(installer.data(), u.section.raw_offset),
            get32(installer, u.section.raw_offset + 16));
  EXPECT_EQ(u.section.certificate_offset, unsigned_size);
  EXPECT_EQ(u.image, stub) << "certificate bytes and directory entry dropped";
}

TEST(BuildUninstallerImage, FailuresGiveTheirCodes) {
  const test_support::BuiltInstaller built = test_support::build_installer(test_support::make_program());
  Bytes with_tail = built.installer;
  with_tail.insert(with_tail.end(), 100, 0x5A);  // bytes after the section are kept
  Bytes tampered = built.installer;
  tampered[0x50] ^= 1;  // inside the DOS stub, before the section
  struct Case {
    const char* label;
    const Bytes& installer;
    bool verify;
    int64_t fail_from;
    CorruptCode code;
  };
  const Case cases[] = {
      {"tampered, checked", tampered, true, -1, CorruptCode::ExecutableChecksum},
      {"tampered, not checked", tampered, false, -1, CorruptCode::None},
      {"program bytes unreadable", built.installer, true, 0x100, CorruptCode::ExecutableUnreadable},
      {"trailing bytes unreadable", with_tail, true, static_cast<int64_t>(with_tail.size()) - 1,
       CorruptCode::TrailingBytesUnreadable},
      {"trailing bytes readable", with_tail, true, -1, CorruptCode::None},
  };
  for (const Case& c : cases) {
    const Cut u = cut(c.installer, c.verify, {}, c.fail_from);
    EXPECT_EQ(u.code, c.code) << c.label;
    if (c.code != CorruptCode::None) {
      EXPECT_TRUE(u.image.empty()) << c.label;
    }
  }
  const Cut kept = cut(with_tail);
  ASSERT_GE(kept.image.size(), 100u);
  EXPECT_EQ(Bytes(kept.image.end() - 100, kept.image.end()), Bytes(100, 0x5A)) << "bytes after the section follow";
}

TEST(BuildUninstallerImage, SectionInTheMiddleMovesEveryLaterSection) {
  // Five sections, the second renamed to the archive's name, the fourth without raw data.
  test_support::PeShape shape;
  shape.sections = 5;
  Bytes installer = test_support::make_program(shape);
  const test_support::PeFields f = test_support::pe_fields(installer);
  memcpy(&installer[f.table + 40], ".qvin\0\0\0", 8);
  put32(installer, f.table + 3 * 40 + 16, 0);
  put32(installer, f.table + 3 * 40 + 20, 0);
  const uint32_t raw_size = get32(installer, f.table + 40 + 16);
  const Cut u = cut(installer, false);
  ASSERT_EQ(u.code, CorruptCode::None);
  EXPECT_EQ(u.section.index, 1);
  ASSERT_EQ(u.image.size(), installer.size() - raw_size);
  EXPECT_EQ(get16(u.image, f.lfanew + 6), 4u);
  EXPECT_EQ(get32(u.image, f.size_of_image), get32(installer, f.size_of_image) - raw_size);
  EXPECT_EQ(get32(u.image, f.initialized), get32(installer, f.initialized) - raw_size);
  const int was[] = {0, 2, 3, 4};
  for (int i = 0; i < 4; ++i) {
    const size_t now = f.table + i * 40, before = f.table + was[i] * 40;
    const std::string label = "entry " + std::to_string(i);
    EXPECT_EQ(0, memcmp(&u.image[now], &installer[before], 20)) << label;
    const uint32_t pointer = get32(installer, before + 20);
    const uint32_t moved = pointer == 0 || was[i] == 0 ? pointer : pointer - raw_size;
    EXPECT_EQ(get32(u.image, now + 20), moved) << label << " (the last one too)";
    if (pointer != 0) {
      EXPECT_EQ(0, memcmp(&u.image[moved], &installer[pointer], get32(installer, before + 16))) << label << " data";
    }
  }
  EXPECT_EQ(Bytes(u.image.begin() + f.table + 4 * 40, u.image.begin() + f.table + 5 * 40), Bytes(40, 0))
      << "the freed slot takes the zeros after the table";
}

TEST(BuildUninstallerImage, PatchIsAppliedOnlyWhenItFits) {
  const Bytes stub = test_support::make_program();
  const Bytes installer = test_support::build_installer(stub).installer;
  struct Case {
    const char* label;
    int32_t offset;
    std::string bytes;
    bool applied;
  };
  const Case cases[] = {
      {"inside", 0x60, "PATCH", true},
      {"ends at the last byte", static_cast<int32_t>(stub.size()) - 2, "ZZ", true},
      {"runs past the end", static_cast<int32_t>(stub.size()) - 1, "ZZ", false},
      {"offset 0 is no patch", 0, "MZ!", false},
  };
  for (const Case& c : cases) {
    archive::UninstallerPatch patch;
    patch.offset = c.offset;
    patch.bytes = core::String(c.bytes.c_str());
    const Cut u = cut(installer, true, patch);
    ASSERT_EQ(u.code, CorruptCode::None) << c.label;
    Bytes expected = expected_uninstaller(stub, stub.size());
    if (c.applied) {
      memcpy(&expected[c.offset], c.bytes.data(), c.bytes.size());
      put32(expected, test_support::pe_fields(expected).checksum, test_support::reference_pe_checksum(expected));
    }
    EXPECT_EQ(u.image, expected) << c.label;
  }
}

}  // namespace
