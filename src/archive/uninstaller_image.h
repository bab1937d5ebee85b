// The uninstaller image: the installer's own program with the archive section cut out.
#pragma once

#include <stdint.h>

#include "archive/archive_section.h"
#include "archive/byte_source.h"
#include "archive/corrupt_code.h"
#include "archive/uninstaller_patch.h"
#include "core/string.h"

namespace archive {

// Builds the uninstaller from the installer `file` whose archive section is `section`
// (from find_archive_section over the same file):
//  1. the file's bytes before the section's raw data (ExecutableUnreadable, 35, when they
//     cannot be read);
//  2. with `verify_exe_sum`, their executable sum must equal `exe_sum`
//     (ExecutableChecksum, 40);
//  3. then the bytes after the section's raw data (TrailingBytesUnreadable, 42), except a
//     certificate table (a signature) found there: it is dropped with its directory entry,
//     since it signed the installer, not this program;
//  4. NumberOfSections less one; SizeOfInitializedData and SizeOfImage less SizeOfRawData;
//     the entries after the archive's move down one slot, the slot after the last one
//     taking the bytes that follow the table; every entry whose raw data lay after the
//     cut has its PointerToRawData lowered by SizeOfRawData;
//  5. the patch, when its offset is above 0 and its bytes fit;
//  6. a non-zero PE CheckSum is recomputed for the new bytes (unless the patch wrote it).
// Returns None with the image in `image`, or the code (the image is then empty).
CorruptCode build_uninstaller_image(ByteSource& file, const ArchiveSection& section, uint32_t exe_sum,
                                    bool verify_exe_sum, const UninstallerPatch& patch, core::String& image);

}  // namespace archive
