// The archive header at the start of the archive section: reading with every check, and writing.
#pragma once

#include <stdint.h>

#include "archive/byte_source.h"
#include "archive/corrupt_code.h"
#include "core/array.h"
#include "core/string.h"

namespace archive {

// The header's fields (see archive/format.h) and what reading them yields.
struct ArchiveHeader {
  uint32_t magic = 0;
  int32_t format_version = 0;
  int32_t block_size = 0;      // S, the stored header block's length
  uint32_t block_sum = 0;      // checksum of the decompressed block; the scrambling key
  uint32_t exe_sum = 0;
  int32_t image_data_end = 0;
  int32_t file_count = 0;      // N
  int32_t data_length = 0;     // M
  uint32_t data_sum = 0;
  core::Array<int32_t> file_sizes;  // N sizes, in file-table order

  // Set by reading:
  bool version_too_new = false;  // reading stopped at the version check
  double version = 0;            // format_version / 100, for the version message
  int64_t data_offset = 0;       // D = 36 + 4N + S, from the section start
  core::String block;            // the header block, unscrambled and decompressed
};

// No limit on the decompressed header block beyond the format's own.
inline constexpr int32_t kNoBlockLimit = 0x7FFFFFFF;

// Reads and checks the header from `section` (the section's bytes; offset 0 is the
// section start), in field order, then copies the header block, unscrambles it with
// block_sum and decompresses it into `header.block`. Returns None when all is well; None
// with `header.version_too_new` set when the archive is newer than this program (the
// uncoded version message; nothing after the version is read); otherwise the code:
//   BadMagic (20)            wrong magic, or (our choice) a section too short for the 36
//                            fixed header bytes;
//   BadBlockSize (22)        S outside 1..0x9FFFFF, or a block that runs past the section;
//   BadImageDataEnd (45)     image_data_end negative;
//   NegativeFileCount (27), NegativeDataLength (29);
//   BadFileSize (28)         a size outside 0..0x40000000, or a list that runs past the
//                            section (checked before anything is allocated for it);
//   BlockDecompress (47)     the block does not decompress, or would decompress to more
//                            than `max_block_length` bytes.
// The block's checksum is not checked here: see check_block_sum.
CorruptCode read_archive_header(ByteSource& section, ArchiveHeader& header, int32_t max_block_length = kNoBlockLimit);

// True when an archive of this format version needs a newer program: its version,
// format_version / 100, is more than 0.01 above 13.2 as doubles compare it, which is from
// 1321 up (1321 × 0.01 − 13.2 is 0.0100000000000016). Older ones are read.
bool format_version_too_new(int32_t format_version);

// BlockChecksum (25) unless the decompressed block's checksum equals block_sum. The
// program checks it once the flag words have been read from the block.
CorruptCode check_block_sum(const core::String& block, uint32_t block_sum);

// The version message (the program's version, then the archive's), shown without a code.
inline constexpr char kVersionMessage[] =
    "The installer version (%.1f) does not match the version of QVIN (%.1f).  Close all applications and "
    "reinstall QVIN.";
// The program's own version as the message shows it.
inline constexpr double kProgramVersion = 13.2;

// --- Writing ---

// The header's length before the block: 36 + 4N.
int64_t archive_header_size(int32_t file_count);

// Appends the header's fields exactly as they are (no checks, so tests can write damaged
// headers), the file sizes (all of `file_sizes`, whatever file_count says), then the
// `sealed_length` bytes of the stored block.
void write_archive_header(const ArchiveHeader& header, const uint8_t* sealed, int32_t sealed_length,
                          core::String& out);

// Makes the stored form of a header block from its plain bytes: compressed with the
// simple block encoder, then scrambled. Sets `block_sum` to the plain bytes' checksum.
// False when the block cannot be encoded or its stored form exceeds 0x9FFFFF bytes.
bool seal_header_block(const uint8_t* plain, int32_t length, core::String& sealed, uint32_t& block_sum);

}  // namespace archive
