// write_installer: header, block and first data part into the section; the rest into volumes.
#include "archive/installer_writer.h"

#include "archive/archive_data.h"
#include "archive/checksum.h"
#include "archive/format.h"

namespace archive {
namespace {

int64_t align_up(int64_t value, int64_t unit) { return (value + unit - 1) / unit * unit; }

}  // namespace

InstallerParts installer_parts(const uint8_t* stub, int64_t stub_size, const ArchiveHeader& header,
                               const core::String& sealed_block, const uint8_t* data, int32_t data_length) {
  InstallerParts parts;
  parts.stub = stub;
  parts.stub_size = stub_size;
  parts.header = &header;
  parts.sealed_block = reinterpret_cast<const uint8_t*>(sealed_block.text());
  parts.sealed_length = sealed_block.length();
  parts.data = data;
  parts.data_length = data_length;
  return parts;
}

WriteError write_installer(const InstallerParts& parts, InstallerFiles& files) {
  files.installer.clear();
  files.volumes.clear();
  files.first_part = 0;
  if (parts.header == nullptr || parts.sealed_block == nullptr || parts.sealed_length <= 0 || parts.data_length < 0 ||
      (parts.data == nullptr && parts.data_length > 0) || parts.volume_size < 0)
    return WriteError::BadInput;
  if (parts.sealed_length > header::kMaxBlockSize) return WriteError::TooLarge;

  SectionPlan plan;
  if (const WriteError error = plan_archive_section(parts.stub, parts.stub_size, plan); error != WriteError::None)
    return error;

  const ArchiveHeader& given = *parts.header;
  const int64_t d = archive_header_size(given.file_sizes.count()) + parts.sealed_length;
  const int32_t m = parts.data_length;
  int64_t first = m;
  if (parts.volume_size > 0 && plan.raw_offset + align_up(d + m, plan.alignment) > parts.volume_size) {
    if (parts.volume_size <= volume::kIdSize) return WriteError::VolumeTooSmall;
    const int64_t section_room = (parts.volume_size - plan.raw_offset) / plan.alignment * plan.alignment;
    first = section_room - d;
    if (first < 0) return WriteError::VolumeTooSmall;
  }
  if (d + first > 0x7FFFFFFF) return WriteError::TooLarge;

  ArchiveHeader header;
  header.magic = header::kMagic;
  header.format_version = given.format_version;
  header.block_size = parts.sealed_length;
  header.block_sum = given.block_sum;
  header.exe_sum = 0;  // append_archive_section fills it in
  header.image_data_end = static_cast<int32_t>(d + first);
  header.file_count = given.file_sizes.count();
  header.data_length = m;
  header.data_sum = archive_checksum(parts.data, m);
  for (int32_t i = 0; i < given.file_sizes.count(); ++i) header.file_sizes.append(given.file_sizes.at(i));

  core::String content;
  write_archive_header(header, parts.sealed_block, parts.sealed_length, content);
  if (first > 0) content.append(reinterpret_cast<const char*>(parts.data), static_cast<int32_t>(first));
  const WriteError error = append_archive_section(parts.stub, parts.stub_size,
                                                  reinterpret_cast<const uint8_t*>(content.text()), content.length(),
                                                  files.installer);
  if (error != WriteError::None) return error;
  files.first_part = static_cast<int32_t>(first);

  const int64_t per_volume = parts.volume_size - volume::kIdSize;
  uint32_t identifier = parts.first_volume_id;
  for (int64_t done = first; done < m; done += per_volume, ++identifier) {
    const int64_t n = m - done < per_volume ? m - done : per_volume;
    core::String volume;
    write_volume(identifier, parts.data + done, static_cast<int32_t>(n), volume);
    files.volumes.append(volume);
  }
  return WriteError::None;
}

}  // namespace archive
