// Installers as the tool sees them: reading one whole (with its volumes) and writing one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "archive/archive_header.h"
#include "archive/archive_section.h"
#include "qvin/project/project_model.h"

namespace qvin {

// One volume file of an installer.
struct VolumeInfo {
  std::filesystem::path path;
  int number = 0;          // 2, 3...
  int32_t identifier = 0;  // expected at its start
  int64_t data_bytes = 0;  // archive data it holds (its size less the identifier)
};

// Where things lie in an installer, as the archive library reads them.
struct InstallerLayout {
  int64_t file_size = 0;
  archive::ArchiveSection section;
  archive::ArchiveHeader header;  // its block: the header block once decompressed
  int64_t first_part_bytes = -1;  // archive data held by the installer itself; -1: not read
  int64_t unpacked_data_length = 0;  // the archive data once decompressed
};

// Everything read from an installer.
struct Installer {
  std::filesystem::path path;
  InstallerLayout layout;
  archive::Settings settings;  // as stored, without the runtime's defaults
  std::vector<VolumeInfo> volumes;
  std::vector<FileRecord> files;  // read only when asked for
};

// Reads an installer: PE section walk, archive header, header block (unscrambled,
// decompressed, checksummed), settings and language tables, and the program bytes'
// checksum when the installer checks it. With `with_files` also the volume files (next
// to the installer: present, in order, with the right identifiers), the data checksum,
// decompression and every file record with its checksum. Throws InputError carrying the
// corrupt-installer code the runtime would report (0 when the file is not an installer
// at all, or for a missing or wrong volume, which the runtime would ask for again).
Installer read_installer(const std::filesystem::path& path, bool with_files);

// What a build wrote.
struct BuildReport {
  std::vector<std::filesystem::path> outputs;  // the installer, then its volumes
  int64_t installer_bytes = 0;
  int64_t data_bytes = 0;          // archive data before compression
  int64_t stored_data_bytes = 0;   // as stored
};

// Build choices that are not settings.
// How the archive data is compressed (when settings flag 0x20 asks for it).
enum class DataCodec {
  Block,  // the archive's own codec: format 13.2, the fastest to install
  Lzma,   // LZMA: format 13.3, the smallest
};

struct BuildOptions {
  int compression_level = 6;
  DataCodec codec = DataCodec::Block;
  int64_t volume_size = 0;  // 0: no volumes
  bool choose_first_volume_id = true;  // derive settings.first_volume_id from the data
  std::function<void(uint64_t bytes)> progress;  // told as data is compressed
};

// Writes the installer `output` (and its volume files beside it) from the stub program
// image, the settings and the file table. Every file is written under a temporary name
// and renamed at the end, so a failure leaves nothing behind. Throws ProjectError for
// settings the archive cannot hold or a stub that is not a Windows program, and for
// output failures.
BuildReport write_installer(const std::filesystem::path& output, const std::string& stub,
                            archive::Settings settings, const std::vector<FileRecord>& files,
                            const BuildOptions& options);

}  // namespace qvin
