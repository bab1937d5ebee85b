// Writing an installer: the stub, the archive section and the volume files, from finished parts.
#pragma once

#include <stdint.h>

#include "archive/archive_header.h"
#include "archive/archive_section.h"
#include "core/array.h"
#include "core/string.h"

namespace archive {

// What goes into an installer. The tool prepares the settings block and the data.
struct InstallerParts {
  const uint8_t* stub = nullptr;  // the runtime program
  int64_t stub_size = 0;
  // The header's format_version, block_sum and file_sizes are written as given; magic,
  // block_size, exe_sum, image_data_end, file_count (the number of sizes), data_length
  // and data_sum are computed here.
  const ArchiveHeader* header = nullptr;
  const uint8_t* sealed_block = nullptr;  // the stored header block (seal_header_block)
  int32_t sealed_length = 0;
  const uint8_t* data = nullptr;          // the archive data as stored (compressed or not)
  int32_t data_length = 0;
  // 0: all data in the installer. Otherwise no file written, installer or volume, is
  // larger than this; data that does not fit goes into volumes numbered from 2, the first
  // starting with first_volume_id (which must match the setting inside the block).
  int64_t volume_size = 0;
  uint32_t first_volume_id = 0;
};

// The parts of an installer of `stub` with that header, sealed block and data, all in the
// installer (no volumes until the caller sets volume_size and first_volume_id). The
// pointers must outlive the parts.
InstallerParts installer_parts(const uint8_t* stub, int64_t stub_size, const ArchiveHeader& header,
                               const core::String& sealed_block, const uint8_t* data, int32_t data_length);

struct InstallerFiles {
  core::String installer;
  core::Array<core::String> volumes;  // volume 2 first
  int32_t first_part = 0;             // data bytes the installer holds
};

// Lays out and writes the installer and its volume files in memory. Both data placements
// get the same layout: the first part lies in the section right after the header block
// (image_data_end marks its end) and so also in the file from the section's raw data + D
// on; the placement setting only tells the program which of the two to read. Keeping
// the data inside the section means the uninstaller image, which keeps the bytes after
// the section, never carries archive data. When volumes follow, the first part fills
// the section to its aligned end, so that the part read "from D to the end of the file"
// holds no padding. Returns None or why it cannot.
WriteError write_installer(const InstallerParts& parts, InstallerFiles& files);

}  // namespace archive
