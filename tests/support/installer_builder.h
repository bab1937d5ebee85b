// Installers made in memory for the archive container tests, through the real writers.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "archive/archive_header.h"
#include "archive/installer_writer.h"
#include "core/string.h"
#include "support/pe_builder.h"

namespace test_support {

inline Bytes bytes_of(const core::String& s) {
  const uint8_t* p = reinterpret_cast<const uint8_t*>(s.text());
  return Bytes(p, p + s.length());
}

// Deterministic, poorly compressible bytes.
inline Bytes noise(size_t n, uint32_t seed = 1) {
  Bytes out(n);
  for (size_t i = 0; i < n; ++i) {
    seed = seed * 1103515245u + 12345u;
    out[i] = static_cast<uint8_t>(seed >> 16);
  }
  return out;
}

struct ArchiveRecipe {
  std::string settings = "settings and language tables of a test archive";
  std::vector<int32_t> file_sizes = {3, 0, 7};
  Bytes data = noise(1000);
  int32_t format_version = 1320;
  int64_t volume_size = 0;
  uint32_t first_volume_id = 0x51A7E000u;
};

struct BuiltInstaller {
  Bytes installer;
  std::vector<Bytes> volumes;
  int32_t first_part = 0;
  uint32_t block_sum = 0;
  archive::WriteError error = archive::WriteError::None;
};

inline BuiltInstaller build_installer(const Bytes& stub, const ArchiveRecipe& recipe = ArchiveRecipe()) {
  BuiltInstaller built;
  core::String sealed;
  if (!archive::seal_header_block(reinterpret_cast<const uint8_t*>(recipe.settings.data()),
                                  static_cast<int32_t>(recipe.settings.size()), sealed, built.block_sum)) {
    built.error = archive::WriteError::BadInput;
    return built;
  }
  archive::ArchiveHeader header;
  header.format_version = recipe.format_version;
  header.block_sum = built.block_sum;
  header.file_count = static_cast<int32_t>(recipe.file_sizes.size());
  for (int32_t size : recipe.file_sizes) header.file_sizes.append(size);
  archive::InstallerParts parts = archive::installer_parts(stub.data(), static_cast<int64_t>(stub.size()), header,
                                                           sealed, recipe.data.data(),
                                                           static_cast<int32_t>(recipe.data.size()));
  parts.volume_size = recipe.volume_size;
  parts.first_volume_id = recipe.first_volume_id;
  archive::InstallerFiles files;
  built.error = archive::write_installer(parts, files);
  built.installer = bytes_of(files.installer);
  for (int32_t i = 0; i < files.volumes.count(); ++i) built.volumes.push_back(bytes_of(files.volumes.at(i)));
  built.first_part = files.first_part;
  return built;
}

}  // namespace test_support
