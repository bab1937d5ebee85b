// Fuzz target: the PE section walk, the archive header, the uninstaller cut and the data
// loader over arbitrary executables. Nothing may read or write out of bounds, whatever
// the bytes claim.
#include <stdint.h>
#include <string.h>

#include <vector>

#include "../tests/support/pe_builder.h"
#include "archive/archive_data.h"
#include "archive/archive_header.h"
#include "archive/archive_section.h"
#include "archive/installer_writer.h"
#include "archive/uninstaller_image.h"

namespace {

// A valid installer to mutate, so that most inputs get past the first checks.
std::vector<uint8_t> make_template() {
  const test_support::Bytes stub = test_support::make_program();
  const char settings[] = "settings";
  core::String sealed;
  uint32_t block_sum = 0;
  archive::seal_header_block(reinterpret_cast<const uint8_t*>(settings), sizeof(settings), sealed, block_sum);
  archive::ArchiveHeader header;
  header.format_version = 1320;
  header.block_sum = block_sum;
  header.file_count = 2;
  header.file_sizes.append(10);
  header.file_sizes.append(20);
  const uint8_t data[64] = {1, 2, 3, 4, 5};
  archive::InstallerParts parts = archive::installer_parts(stub.data(), static_cast<int64_t>(stub.size()), header,
                                                           sealed, data, sizeof(data));
  archive::InstallerFiles files;
  archive::write_installer(parts, files);
  const uint8_t* p = reinterpret_cast<const uint8_t*>(files.installer.text());
  return std::vector<uint8_t>(p, p + files.installer.length());
}

// Volumes never exist; the user always cancels.
struct Nobody : archive::VolumeOpener, archive::VolumePrompt, archive::LoadProgress {
  archive::ByteSource* open_volume(const char*) override { return nullptr; }
  void close_volume(archive::ByteSource*) override {}
  bool ask_for_volume(int, char, bool) override { return false; }
  bool confirm_cancel() override { return true; }
  void set_progress(int) override {}
  void stage(archive::LoadStage) override {}
};

// Allocation caps: real archives may claim more, but the fuzzer would only measure memory.
constexpr int32_t kMaxBlock = 1 << 20;
constexpr int32_t kMaxData = 1 << 22;

void run(const std::vector<uint8_t>& bytes, uint8_t steer) {
  archive::MemoryByteSource file(bytes.data(), static_cast<int64_t>(bytes.size()));
  archive::ArchiveSection section;
  if (archive::find_archive_section(file, section) != archive::CorruptCode::None || !section.found) return;
  archive::SliceByteSource section_bytes = archive::archive_section_bytes(file, section);
  archive::ArchiveHeader header;
  if (archive::read_archive_header(section_bytes, header, kMaxBlock) != archive::CorruptCode::None ||
      header.version_too_new)
    return;
  archive::check_block_sum(header.block, header.block_sum);

  core::String image;
  archive::UninstallerPatch patch;
  patch.offset = steer & 4 ? 0x40 : 0;
  patch.bytes = core::String("patch");
  archive::build_uninstaller_image(file, section, header.exe_sum, steer & 8, patch, image);

  if (header.data_length > kMaxData) return;
  Nobody nobody;
  archive::DataSources sources;
  sources.image_section = &section_bytes;
  sources.file = &file;
  sources.data_in_file = steer & 16;
  sources.compressed = steer & 32;
  sources.volume_base_name = "fuzz";
  sources.installer_directory = "C:\\";
  archive::ArchiveData data;
  archive::load_archive_data(header, section, sources, nobody, nobody, nobody, data);
  archive::ArchiveCursor cursor = data.cursor();
  core::String text;
  while (cursor.read_cstring(text)) {
  }
}

}  // namespace

// The first byte steers: bit 0 set applies the rest as patches (16-bit offset, value) to
// a valid installer, bit 1 also cuts that installer at the first patch offset; clear, the
// rest is the executable itself. Bits 2..5 choose the patch, exe_sum check, placement and
// compression.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const std::vector<uint8_t> base = make_template();
  const uint8_t steer = data[0];
  std::vector<uint8_t> bytes;
  if (steer & 1) {
    bytes = base;
    for (size_t i = 1; i + 3 <= size; i += 3) {
      const size_t offset = (data[i] | data[i + 1] << 8) % bytes.size();
      bytes[offset] = data[i + 2];
      if ((steer & 2) && i == 1) bytes.resize(offset + 1);
    }
  } else {
    bytes.assign(data + 1, data + size);
  }
  run(bytes, steer);
  return 0;
}
