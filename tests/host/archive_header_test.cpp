// The archive header: reading with each check and its code, the version rule, writing, sealing.
#include <gtest/gtest.h>
#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "archive/archive_header.h"
#include "archive/archive_section.h"
#include "archive/checksum.h"
#include "archive/format.h"
#include "support/installer_builder.h"

namespace {

using archive::CorruptCode;
using test_support::Bytes;
using test_support::put32;

// The archive section's bytes of a fresh installer.
Bytes section_of(const Bytes& installer) {
  archive::MemoryByteSource file(installer.data(), static_cast<int64_t>(installer.size()));
  archive::ArchiveSection section;
  EXPECT_EQ(archive::find_archive_section(file, section), CorruptCode::None);
  return Bytes(installer.begin() + section.raw_offset, installer.begin() + section.raw_offset + section.raw_size);
}

CorruptCode read(const Bytes& section, archive::ArchiveHeader& header, int32_t limit = archive::kNoBlockLimit) {
  archive::MemoryByteSource source(section.data(), static_cast<int64_t>(section.size()));
  return archive::read_archive_header(source, header, limit);
}

TEST(ReadArchiveHeader, ReadsWhatTheWriterWrote) {
  test_support::ArchiveRecipe recipe;
  recipe.file_sizes = {0, 5, 0x40000000};
  const test_support::BuiltInstaller built = test_support::build_installer(test_support::make_program(), recipe);
  const Bytes section = section_of(built.installer);
  archive::ArchiveHeader h;
  ASSERT_EQ(read(section, h), CorruptCode::None);
  EXPECT_FALSE(h.version_too_new);
  EXPECT_EQ(h.magic, 0xA4F23DE5u);
  EXPECT_EQ(h.format_version, 1320);
  EXPECT_EQ(h.block_sum, built.block_sum);
  EXPECT_EQ(h.file_count, 3);
  ASSERT_EQ(h.file_sizes.count(), 3);
  EXPECT_EQ(h.file_sizes.at(2), 0x40000000);
  EXPECT_EQ(h.data_length, static_cast<int32_t>(recipe.data.size()));
  EXPECT_EQ(h.data_sum, archive::archive_checksum(recipe.data.data(), static_cast<int64_t>(recipe.data.size())));
  EXPECT_EQ(h.data_offset, 36 + 4 * 3 + h.block_size);
  EXPECT_EQ(h.image_data_end, h.data_offset + h.data_length);
  EXPECT_EQ(std::string(h.block.text(), h.block.length()), recipe.settings);
  EXPECT_EQ(archive::check_block_sum(h.block, h.block_sum), CorruptCode::None);
  EXPECT_EQ(archive::check_block_sum(h.block, h.block_sum + 1), CorruptCode::BlockChecksum);
  EXPECT_EQ(0, memcmp(&section[h.data_offset], recipe.data.data(), recipe.data.size()));
}

TEST(ReadArchiveHeader, EachCheckGivesItsCodeInFieldOrder) {
  const Bytes section = section_of(test_support::build_installer(test_support::make_program()).installer);
  using namespace archive::header;
  auto set = [](int offset, int32_t value) {
    return [=](Bytes& b) { put32(b, offset, static_cast<uint32_t>(value)); };
  };
  struct Case {
    const char* label;
    std::function<void(Bytes&)> damage;
    CorruptCode code;
  };
  const Case cases[] = {
      {"magic", set(kMagicOffset, 0xA4F23DE4), CorruptCode::BadMagic},
      {"magic before block size", [](Bytes& b) { put32(b, 0, 1); put32(b, kBlockSizeOffset, 0); }, CorruptCode::BadMagic},
      {"fixed fields cut short", [](Bytes& b) { b.resize(35); }, CorruptCode::BadMagic},
      {"block size 0", set(kBlockSizeOffset, 0), CorruptCode::BadBlockSize},
      {"block size 0xA00000", set(kBlockSizeOffset, 0xA00000), CorruptCode::BadBlockSize},
      {"block past the section", set(kBlockSizeOffset, 0x9FFFFF), CorruptCode::BadBlockSize},
      {"image data end -1", set(kImageDataEndOffset, -1), CorruptCode::BadImageDataEnd},
      {"image data end before file count",
       [](Bytes& b) { put32(b, kImageDataEndOffset, ~0u); put32(b, kFileCountOffset, ~0u); },
       CorruptCode::BadImageDataEnd},
      {"file count -1", set(kFileCountOffset, -1), CorruptCode::NegativeFileCount},
      {"data length -1", set(kDataLengthOffset, -1), CorruptCode::NegativeDataLength},
      {"file size -1", set(kFileSizesOffset + 4, -1), CorruptCode::BadFileSize},
      {"file size 0x40000001", set(kFileSizesOffset + 8, 0x40000001), CorruptCode::BadFileSize},
      {"file sizes past the section", set(kFileCountOffset, 0x10000000), CorruptCode::BadFileSize},
      {"block damaged", [](Bytes& b) { b[kFileSizesOffset + 12] ^= 0xFF; }, CorruptCode::BlockDecompress},
      {"wrong key", [](Bytes& b) { b[kBlockSumOffset] ^= 1; }, CorruptCode::BlockDecompress},
      {"exe_sum and data_sum are not checked here",
       [](Bytes& b) { put32(b, kExeSumOffset, 1); put32(b, kDataSumOffset, 2); }, CorruptCode::None},
  };
  for (const Case& c : cases) {
    Bytes bytes = section;
    c.damage(bytes);
    archive::ArchiveHeader h;
    EXPECT_EQ(read(bytes, h), c.code) << c.label;
    EXPECT_FALSE(h.version_too_new) << c.label;
    if (c.code != CorruptCode::None) {
      EXPECT_EQ(h.block.length(), 0) << c.label;
    }
  }
  archive::ArchiveHeader h;
  EXPECT_EQ(read(section, h, 10), CorruptCode::BlockDecompress) << "block above the caller's limit";
}

TEST(ReadArchiveHeader, NewerVersionsStopReadingOlderOnesPass) {
  const Bytes section = section_of(test_support::build_installer(test_support::make_program()).installer);
  struct Case {
    int32_t version;
    bool too_new;
  };
  for (const Case& c : {Case{1320, false}, Case{1000, false}, Case{0, false}, Case{-1321, false}, Case{1321, true},
                        Case{1330, true}, Case{1325, true}, Case{99999, true}, Case{2147483647, true}}) {
    Bytes bytes = section;
    put32(bytes, archive::header::kFormatVersionOffset, static_cast<uint32_t>(c.version));
    // A bad block size after the version shows whether reading went on.
    put32(bytes, archive::header::kBlockSizeOffset, 0);
    archive::ArchiveHeader h;
    const CorruptCode code = read(bytes, h);
    EXPECT_EQ(h.version_too_new, c.too_new) << c.version;
    EXPECT_EQ(code, c.too_new ? CorruptCode::None : CorruptCode::BadBlockSize) << c.version;
    EXPECT_EQ(archive::format_version_too_new(c.version), c.too_new) << c.version;
    EXPECT_DOUBLE_EQ(h.version, c.version * 0.01) << c.version;
  }
  char message[256];
  snprintf(message, sizeof(message), archive::kVersionMessage, archive::kProgramVersion, 13.3);
  EXPECT_STREQ(message,
               "The installer version (13.2) does not match the version of QVIN (13.3).  Close all applications "
               "and reinstall QVIN.");
}

TEST(WriteArchiveHeader, WritesFieldsAsGivenAtTheirOffsets) {
  archive::ArchiveHeader h;
  h.magic = 1;
  h.format_version = 2;
  h.block_size = -3;
  h.block_sum = 4;
  h.exe_sum = 5;
  h.image_data_end = -6;
  h.file_count = 7;
  h.data_length = 8;
  h.data_sum = 9;
  h.file_sizes.append(-10);
  const uint8_t block[] = {0xAB, 0xCD};
  core::String out;
  archive::write_archive_header(h, block, 2, out);
  const Bytes b = test_support::bytes_of(out);
  ASSERT_EQ(b.size(), 36u + 4 + 2);
  EXPECT_EQ(archive::archive_header_size(1), 40);
  const int32_t expected[] = {1, 2, -3, 4, 5, -6, 7, 8, 9, -10};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(static_cast<int32_t>(test_support::get32(b, 4 * i)), expected[i]) << i;
  EXPECT_EQ(b[40], 0xAB);
  EXPECT_EQ(b[41], 0xCD);
}

TEST(SealHeaderBlock, IsCompressedThenScrambledWithItsChecksum) {
  const std::string plain(5000, 'q');
  core::String sealed;
  uint32_t sum = 0;
  ASSERT_TRUE(archive::seal_header_block(reinterpret_cast<const uint8_t*>(plain.data()), 5000, sealed, sum));
  EXPECT_EQ(sum, archive::archive_checksum(plain.data(), 5000));
  EXPECT_LT(sealed.length(), 200) << "a run compresses";
  Bytes stored = test_support::bytes_of(sealed);
  EXPECT_NE(test_support::get32(stored, 0), 0x9EC72BA1u) << "stored scrambled";
  EXPECT_EQ(test_support::get32(stored, 0) ^ sum, 0x9EC72BA1u);
}

}  // namespace
