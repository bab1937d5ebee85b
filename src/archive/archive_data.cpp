// load_archive_data: first part, volume files with their prompt loop, checksum, expansion.
#include "archive/archive_data.h"

#include <stdio.h>

#include "core/string.h"
#include <string.h>

#include "archive/checksum.h"
#include "archive/decompress.h"
#include "archive/format.h"
#include "archive/little_endian.h"
#include "archive/lzma_data.h"
#include "core/paths.h"

namespace archive {
namespace {

// Reads `n` bytes of `source` from `offset` into `target`, in pieces the source accepts.
bool read_range(ByteSource& source, int64_t offset, uint8_t* target, int64_t n) {
  constexpr int64_t kPiece = 1 << 24;
  while (n > 0) {
    const int piece = static_cast<int>(n < kPiece ? n : kPiece);
    if (!source.read_at(offset, target, piece)) return false;
    offset += piece;
    target += piece;
    n -= piece;
  }
  return true;
}

// Where the in-file data ends: the end of the file, or the start of a certificate table
// (a signature appended to the installer) that lies after `start`.
int64_t file_data_end(const ArchiveSection& section, int64_t file_size, int64_t start) {
  const int64_t certificate = section.certificate_offset;
  if (section.certificate_size > 0 && certificate >= start && certificate < file_size) return certificate;
  return file_size;
}

enum class VolumeRead { Read, Unreadable, Cancelled };

// Looks for volume `number` until the right one is read or the user cancels.
VolumeRead read_volume(const char* path, int number, uint32_t identifier, int64_t missing, VolumeOpener& opener,
                       VolumePrompt& prompt, uint8_t* target, int64_t& taken) {
  const char drive = core::drive_letter(path);
  for (int attempts = 0;;) {
    if (attempts > 0 && !prompt.ask_for_volume(number, drive, attempts > 1) && prompt.confirm_cancel())
      return VolumeRead::Cancelled;
    ByteSource* volume = opener.open_volume(path);
    if (volume == nullptr) {
      ++attempts;
      continue;
    }
    const int64_t size = volume->size();
    uint8_t id[volume::kIdSize];
    if (size <= volume::kIdSize || !volume->read_at(0, id, volume::kIdSize) || load_u32(id) != identifier) {
      opener.close_volume(volume);
      attempts = 2;
      continue;
    }
    // A volume longer than what is missing gives only what is missing.
    taken = size - volume::kIdSize < missing ? size - volume::kIdSize : missing;
    const bool read = read_range(*volume, volume::kIdSize, target, taken);
    opener.close_volume(volume);
    return read ? VolumeRead::Read : VolumeRead::Unreadable;
  }
}

LoadResult corrupt(CorruptCode code) { return LoadResult{LoadStatus::Corrupt, code}; }

}  // namespace

DataSources data_sources(const Settings& settings, ByteSource& image_section, ByteSource& file,
                         const char* installer_directory) {
  DataSources sources;
  sources.image_section = &image_section;
  sources.file = &file;
  sources.data_in_file = settings.data_placement != data_placement::InImage;
  sources.compressed = (settings.flags & flag::CompressData) != 0;
  sources.volume_base_name = settings.volume_base_name.text();
  sources.installer_directory = installer_directory;
  sources.first_volume_id = static_cast<uint32_t>(settings.first_volume_id);
  return sources;
}

core::String volume_file_name(const char* base_name, int number) {
  char digits[16];
  core::format_buffer(digits, sizeof(digits), "%d", number);
  core::String name(base_name != nullptr ? base_name : "");
  name.append(digits);
  name.append(".QVA");
  return name;
}

LoadResult load_archive_data(const ArchiveHeader& header, const ArchiveSection& section, const DataSources& sources,
                             VolumeOpener& opener, VolumePrompt& prompt, LoadProgress& progress, ArchiveData& data) {
  data.owned.clear();
  data.bytes = nullptr;
  data.length = 0;
  data.volumes_read = 0;
  const int32_t m = header.data_length;
  const int64_t d = header.data_offset;
  if (m < 0) return corrupt(CorruptCode::NegativeDataLength);

  int64_t have = 0;
  if (sources.data_in_file) {
    ByteSource& file = *sources.file;
    const int64_t start = static_cast<int64_t>(section.raw_offset) + d;
    const int64_t end = file_data_end(section, file.size(), start);
    const int64_t available = end > start ? end - start : 0;
    have = available < m ? available : m;
    if (!data.owned.try_set_length(m) ||
        !read_range(file, start, reinterpret_cast<uint8_t*>(data.owned.data()), have))
      return LoadResult{LoadStatus::ReadFailed, CorruptCode::None};
  } else {
    ByteSource& image = *sources.image_section;
    if (header.image_data_end < d || header.image_data_end > image.size()) return corrupt(CorruptCode::BadImageDataEnd);
    const int64_t first = header.image_data_end - d;
    have = first < m ? first : m;
    const uint8_t* in_place = have == m ? image.view(d, m) : nullptr;
    if (in_place != nullptr) {
      data.bytes = in_place;
    } else if (!data.owned.try_set_length(m) ||
               !read_range(image, d, reinterpret_cast<uint8_t*>(data.owned.data()), have)) {
      return LoadResult{LoadStatus::ReadFailed, CorruptCode::None};
    }
  }
  if (data.bytes == nullptr) data.bytes = reinterpret_cast<const uint8_t*>(data.owned.text());
  data.length = m;

  int number = volume::kFirstNumber;
  uint32_t identifier = sources.first_volume_id;
  while (have < m) {
    progress.set_progress(static_cast<int>(have * volume::kSpanPercent / m + volume::kFirstPercent));
    const core::String name = volume_file_name(sources.volume_base_name, number);
    const core::String path = core::join_path(sources.installer_directory, name.text());
    int64_t taken = 0;
    switch (read_volume(path.text(), number, identifier, m - have, opener, prompt,
                        reinterpret_cast<uint8_t*>(data.owned.data()) + have, taken)) {
      case VolumeRead::Cancelled: return LoadResult{LoadStatus::Cancelled, CorruptCode::None};
      case VolumeRead::Unreadable: return corrupt(CorruptCode::VolumeUnreadable);
      case VolumeRead::Read: break;
    }
    have += taken;
    ++identifier;
    ++number;
    ++data.volumes_read;
  }

  progress.stage(LoadStage::Checking);
  if (archive_checksum(data.bytes, m) != header.data_sum) return corrupt(CorruptCode::DataChecksum);
  progress.stage(LoadStage::Checked);

  if (sources.compressed && m != 0) {
    progress.stage(LoadStage::Decompressing);
    const bool lzma = header.format_version >= header::kLzmaVersion;
    const int64_t length = lzma ? lzma_data_length(data.bytes, m) : block_output_length(data.bytes, m);
    const int32_t expanded_length = length <= kMaxLzmaExpandedLength ? static_cast<int32_t>(length) : -1;
    core::String expanded;
    if (expanded_length < 0 || !expanded.try_set_length(expanded_length)) return corrupt(CorruptCode::DataDecompress);
    uint8_t* out = reinterpret_cast<uint8_t*>(expanded.data());
    const bool decoded = lzma ? decode_lzma_data(data.bytes, m, out, expanded_length)
                              : decompress_into(data.bytes, m, out, expanded_length);
    if (!decoded) return corrupt(CorruptCode::DataDecompress);
    data.owned = static_cast<core::String&&>(expanded);
    data.bytes = reinterpret_cast<const uint8_t*>(data.owned.text());
    data.length = expanded_length;
    progress.stage(LoadStage::Decompressed);
  }
  return LoadResult{};
}

void write_volume(uint32_t identifier, const uint8_t* stretch, int32_t length, core::String& out) {
  uint8_t id[volume::kIdSize];
  store_u32(id, identifier);
  out.append(reinterpret_cast<const char*>(id), volume::kIdSize);
  if (stretch != nullptr && length > 0) out.append(reinterpret_cast<const char*>(stretch), length);
}

}  // namespace archive
