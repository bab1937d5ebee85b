// Finding the archive section: the PE section walk from e_lfanew to the ".qvin" entry.
#pragma once

#include <stdint.h>

#include "archive/byte_source.h"
#include "archive/corrupt_code.h"
#include "core/string.h"

namespace archive {

// The archive section of an executable and the PE facts around it.
struct ArchiveSection {
  bool found = false;              // false: no ".qvin" section (the uncoded no-archive message)
  uint32_t virtual_address = 0;    // section start in the loaded image, from the module base
  uint32_t virtual_size = 0;
  uint32_t raw_size = 0;           // SizeOfRawData
  uint32_t raw_offset = 0;         // PointerToRawData: file offset of the section's bytes
  int index = 0;                   // the section's place in the table, from 0
  int64_t table_position = 0;      // file offset of the section's table entry
  int section_count = 0;           // NumberOfSections
  int64_t e_lfanew = 0;
  int64_t file_size = 0;
  // The certificate table (Authenticode signature) named by the optional header's data
  // directory, read as a hint: 0 and 0 when there is none or it cannot be read.
  uint32_t certificate_offset = 0;
  uint32_t certificate_size = 0;
};

// Walks the section table of `file` for the first entry named exactly ".qvin" (case and
// all). Returns None with `section.found` set when it is there, None with `found` clear
// when the table has no such entry, or the code of the damage:
//   BadPeOffset (43)       e_lfanew unreadable or outside 64..4096;
//   BadSectionCount (44)   NumberOfSections unreadable or outside 4..99, and also (our
//                          choice) a section table that the file cuts short before the walk
//                          ends or before the archive entry's fields;
//   SectionOffsetZero (9)  the entry's PointerToRawData is 0;
//   SectionSeekFailed (10) PointerToRawData lies beyond the end of the file.
CorruptCode find_archive_section(ByteSource& file, ArchiveSection& section);

// The section's bytes as stored in the file (clipped to the file's end). `file` must
// outlive the result.
SliceByteSource archive_section_bytes(ByteSource& file, const ArchiveSection& section);

// The message shown, without an error code, for an executable that has no archive.
inline constexpr char kNoArchiveMessage[] =
    "This program performs installations and uninstallations.\r\nThere is no installation archive present.\r\n"
    "No Uninstallation parameters were specified.\r\n\r\nYou should not delete this program or execute it directly.";

// --- Writing ---

// Why a stub cannot take the archive section, or an installer cannot be written.
enum class WriteError {
  None,
  NotAProgram,        // no PE32/PE32+ headers, e_lfanew outside 64..4096, or sections past the end
  BadAlignment,       // SectionAlignment or FileAlignment not a power of two
  SectionCount,       // the stub needs 3..98 sections so that the installer has 4..99
  AlreadyHasArchive,  // the stub already has a ".qvin" section
  NoRoomForEntry,     // no free, zeroed 40 bytes after the section table within the headers
  TooLarge,           // the installer would pass 2^31 - 1 bytes, the block 0x9FFFFF, or a field overflows
  VolumeTooSmall,     // the volume size cannot hold the program and the header block
  BadInput,           // a negative length or a missing buffer
};

// An English sentence for the error, for the tool's messages. Never null.
const char* write_error_text(WriteError error);

// Where append_archive_section puts the section in a given stub.
struct SectionPlan {
  int64_t stub_end = 0;         // the stub bytes kept: all, less a certificate table at the end
  int64_t raw_offset = 0;       // PointerToRawData: stub_end rounded up to FileAlignment
  uint32_t virtual_address = 0; // after the last section, at SectionAlignment
  uint32_t alignment = 0;       // SizeOfRawData and VirtualSize are multiples of this
  int64_t entry_position = 0;   // file offset of the new section table entry
};

// Checks that `stub` can take the section and says where it goes.
WriteError plan_archive_section(const uint8_t* stub, int64_t stub_size, SectionPlan& plan);

// Makes an installer: the stub with `content` (an archive header, its block and the data
// held in the section) added as the last section, ".qvin", initialised read-only data.
// The section's SizeOfRawData and VirtualSize are both the content length rounded up to
// SectionAlignment (and FileAlignment), so that cutting SizeOfRawData out again, as the
// uninstaller image does, gives back the stub's SizeOfImage and SizeOfInitializedData.
// NumberOfSections, SizeOfImage and SizeOfInitializedData are updated; a certificate
// table of the stub is dropped (its signature cannot cover the installer); the header's
// exe_sum (at content offset 16) is computed over the bytes before the section; last,
// the PE CheckSum is set to the file's real checksum.
WriteError append_archive_section(const uint8_t* stub, int64_t stub_size, const uint8_t* content,
                                  int64_t content_length, core::String& installer);

}  // namespace archive
