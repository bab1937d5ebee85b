// The installer's archive format on one page: the .qvin section, its header, volume files, limits.
//
// An installer is a Windows program (the stub) with one more PE section, `.qvin`, last in
// its section table. The section's bytes:
//
//   section start
//   +0    magic           0xA4F23DE5
//   +4    format_version  version x 100 (1320; 1330: the data is LZMA-coded)
//   +8    block_size      S, 1..0x9FFFFF
//   +12   block_sum       checksum of the block once decompressed; also its scrambling key
//   +16   exe_sum         checksum of the file's bytes before the section (see below)
//   +20   image_data_end  end of the archive data held in the section, from the section start
//   +24   file_count      N
//   +28   data_length     M, the archive data as stored
//   +32   data_sum        checksum of the M stored bytes
//   +36   file_sizes      N x 4 bytes, each 0..0x40000000
//   +36+4N                header block: settings and language tables, compressed, then scrambled
//   +D = 36+4N+S          archive data (file table and file contents, compressed or not:
//                         with the block codec, or from 13.3 on with LZMA behind a 13-byte
//                         header, lzma_data.h)
//   ...   zero padding to the section's aligned end
//
// Data placement (a setting inside the header block):
//   in the image (0)   the first part of the data is the section's bytes D..image_data_end;
//   in the file (!= 0) the first part is the file's bytes from the section's raw data + D on
//                      (up to M bytes, and never into a certificate table that follows).
// Our writer lays out both alike, with the first part inside the section, so that the
// uninstaller (which keeps what follows the section) never carries archive data; the
// setting only says whether the program reads it from its image or from its file. The
// section's SizeOfRawData and VirtualSize are equal multiples of SectionAlignment.
// Data that does not fit continues in volume files "<base><n>.QVA", n = 2, 3, ...:
//   +0 volume identifier (the first volume's from the settings, +1 per volume), +4 the next
//   stretch of data. The first part and the stretches make exactly M bytes.
//
// The uninstaller is the same program with the section cut out. exe_sum covers the file's
// bytes before the section's raw data, read with the PE CheckSum field and the certificate
// table's directory entry as zero, so that signing the installer keeps it valid.
//
// All integers are little-endian; texts are bytes of the system's ANSI code page.
#pragma once

#include <stdint.h>

#include "archive/block_format.h"

namespace archive {

// --- The archive section -------------------------------------------------------------

// The section's name, compared exactly (".QVIN" is not ours).
inline constexpr char kSectionName[] = ".qvin";

// Archive header fields, as offsets from the section start.
namespace header {
inline constexpr uint32_t kMagic = 0xA4F23DE5u;
// Format versions. An archive whose data uses the block codec (or none) is 13.2, as it
// always was; 13.3 says that its compressed data is LZMA-coded (lzma_data.h). A program
// that knows only 13.2 refuses a 13.3 archive with its version message instead of
// misreading the data, and the header keeps its layout, so the signal costs nothing.
inline constexpr int32_t kBlockCodecVersion = 1320;
inline constexpr int32_t kLzmaVersion = 1330;
inline constexpr int32_t kFormatVersion = kLzmaVersion;  // this program reads archives up to 13.3

inline constexpr int kMagicOffset = 0;
inline constexpr int kFormatVersionOffset = 4;
inline constexpr int kBlockSizeOffset = 8;
inline constexpr int kBlockSumOffset = 12;
inline constexpr int kExeSumOffset = 16;
inline constexpr int kImageDataEndOffset = 20;
inline constexpr int kFileCountOffset = 24;
inline constexpr int kDataLengthOffset = 28;
inline constexpr int kDataSumOffset = 32;
inline constexpr int kFileSizesOffset = 36;
inline constexpr int kFixedSize = 36;  // the fields before the file sizes
inline constexpr int kFileSizeWidth = 4;

// block_size lies in 1..kMaxBlockSize (below 0xA00000).
inline constexpr int32_t kMaxBlockSize = 0x9FFFFF;
// Every file, and so every entry of file_sizes, is at most this long.
inline constexpr int32_t kMaxFileSize = 0x40000000;
}  // namespace header

static_assert(header::kFixedSize == header::kDataSumOffset + 4);
static_assert(header::kFileSizesOffset == header::kFixedSize);
static_assert(header::kMaxBlockSize < 0xA00000 && header::kMaxBlockSize + 1 == 0xA00000);
// A stored block is always compressed: it starts with the block codec's 8-byte header.
static_assert(block::kMagic == 0x9EC72BA1u && block::kHeaderSize == 8);
static_assert(header::kMaxBlockSize < block::kMaxBlockSize);

// --- Volume files --------------------------------------------------------------------

namespace volume {
inline constexpr char kNamePattern[] = "%s%d.QVA";  // volume base name, volume number
inline constexpr int kFirstNumber = 2;               // the installer itself is volume 1
inline constexpr int kIdSize = 4;                    // a volume must hold more than this
// While volumes load, the progress bar runs from kFirstPercent to kFirstPercent + kSpanPercent.
inline constexpr int kFirstPercent = 5;
inline constexpr int kSpanPercent = 30;
}  // namespace volume

static_assert(sizeof(volume::kNamePattern) == 9);

// --- The PE headers the archive code reads and writes --------------------------------

namespace pe {
inline constexpr int kLfanewOffset = 0x3C;  // only its low 16 bits are read
inline constexpr int kMinLfanew = 64;
inline constexpr int kMaxLfanew = 4096;
inline constexpr uint32_t kSignature = 0x00004550u;  // "PE\0\0"

// From e_lfanew: the COFF file header follows the 4-byte signature.
inline constexpr int kNumberOfSectionsOffset = 6;
inline constexpr int kPointerToSymbolTableOffset = 12;
inline constexpr int kSizeOfOptionalHeaderOffset = 20;
inline constexpr int kOptionalHeaderOffset = 24;  // the section table follows it

// A section count outside this range is a damaged installer (a stub has at least its
// code, data, import and archive sections).
inline constexpr int kMinSections = 4;
inline constexpr int kMaxSections = 99;

// From the optional header's start; the same in PE32 and PE32+ unless named.
namespace optional {
inline constexpr uint16_t kMagicPe32 = 0x10B;
inline constexpr uint16_t kMagicPe32Plus = 0x20B;
inline constexpr int kMagicOffset = 0;
inline constexpr int kSizeOfInitializedDataOffset = 8;
inline constexpr int kSectionAlignmentOffset = 32;
inline constexpr int kFileAlignmentOffset = 36;
inline constexpr int kSizeOfImageOffset = 56;
inline constexpr int kSizeOfHeadersOffset = 60;
inline constexpr int kCheckSumOffset = 64;
inline constexpr int kNumberOfRvaAndSizesPe32 = 92;
inline constexpr int kDataDirectoryPe32 = 96;
inline constexpr int kNumberOfRvaAndSizesPe32Plus = 108;
inline constexpr int kDataDirectoryPe32Plus = 112;
inline constexpr int kDataDirectoryEntrySize = 8;
// Entry 4 of the data directory: the certificate table (Authenticode signatures). Unlike
// the others it holds a file offset, not a virtual address.
inline constexpr int kCertificateTableIndex = 4;
// Entry 2: the resource directory (version information among it).
inline constexpr int kResourceTableIndex = 2;
}  // namespace optional

// The fields the uninstaller image adjusts, as offsets from e_lfanew.
inline constexpr int kSizeOfInitializedDataFromLfanew = kOptionalHeaderOffset + optional::kSizeOfInitializedDataOffset;
inline constexpr int kSizeOfImageFromLfanew = kOptionalHeaderOffset + optional::kSizeOfImageOffset;
inline constexpr int kCheckSumFromLfanew = kOptionalHeaderOffset + optional::kCheckSumOffset;
static_assert(kSizeOfInitializedDataFromLfanew == 32);
static_assert(kSizeOfImageFromLfanew == 80);
static_assert(kCheckSumFromLfanew == 88);

// One section table entry.
namespace section {
inline constexpr int kEntrySize = 40;
inline constexpr int kNameOffset = 0;
inline constexpr int kNameSize = 8;
inline constexpr int kVirtualSizeOffset = 8;
inline constexpr int kVirtualAddressOffset = 12;
inline constexpr int kSizeOfRawDataOffset = 16;
inline constexpr int kPointerToRawDataOffset = 20;
inline constexpr int kCharacteristicsOffset = 36;
// The archive section: initialised data, readable, not writable, not executable.
inline constexpr uint32_t kContainsInitializedData = 0x00000040u;
inline constexpr uint32_t kMemRead = 0x40000000u;
inline constexpr uint32_t kArchiveCharacteristics = kContainsInitializedData | kMemRead;
}  // namespace section
static_assert(sizeof(kSectionName) - 1 <= section::kNameSize);
}  // namespace pe

}  // namespace archive
