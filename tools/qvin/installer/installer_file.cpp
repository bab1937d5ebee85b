// Reading and writing whole installers through the archive library's readers and writers.
#include "qvin/installer/installer_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "archive/archive_data.h"
#include "archive/archive_header.h"
#include "archive/archive_section.h"
#include "archive/checksum.h"
#include "archive/corrupt_code.h"
#include "archive/file_entry.h"
#include "archive/format.h"
#include "archive/installer_writer.h"
#include "archive/memory_stream.h"
#include "archive/settings.h"
#include "archive/stdio_byte_source.h"
#include "archive/stored_name.h"
#include "archive/uninstaller_image.h"
#include "qvin/compressor/compressor.h"
#include "qvin/compressor/large_array.h"
#include "qvin/compressor/lzma_encoder.h"
#include "qvin/installer/atomic_output.h"
#include "qvin/project/errors.h"
#include "qvin/project/file_plan.h"
#include "qvin/project/text_encoding.h"

namespace qvin {
namespace fs = std::filesystem;

namespace {

using archive::CorruptCode;

[[noreturn]] void corrupt(const Installer& in, const std::string& what, CorruptCode code) {
  throw InputError(in.path.string() + ": " + what, static_cast<int>(code));
}

// Volume files opened through the C library; remembers what it opened.
// The archive code joins Windows paths ("dir\\NAME2.QVA", names in Windows-1252); here
// the name is taken from the end and opened in the installer's directory.
class ToolVolumes final : public archive::VolumeOpener {
 public:
  explicit ToolVolumes(fs::path directory) : directory_(std::move(directory)) {}
  archive::ByteSource* open_volume(const char* windows_path) override {
    const std::string joined(windows_path);
    const size_t cut = joined.find_last_of("\\/");
    const fs::path path = directory_ / path_of_cp1252(cut == std::string::npos ? joined : joined.substr(cut + 1));
    auto source = std::make_unique<archive::StdioByteSource>();
    if (!source->open(path.c_str())) return nullptr;
    opened_.push_back({path.string(), source->size()});
    open_.push_back(std::move(source));
    return open_.back().get();
  }
  void close_volume(archive::ByteSource* volume) override {
    for (auto& s : open_)
      if (s.get() == volume) s->close();
  }
  std::vector<std::pair<std::string, int64_t>> opened_;

 private:
  fs::path directory_;
  std::vector<std::unique_ptr<archive::StdioByteSource>> open_;
};

// Nobody to ask: a missing or wrong volume ends the reading, and is remembered.
class NoPrompt final : public archive::VolumePrompt {
 public:
  bool ask_for_volume(int number, char, bool after_wrong_volume) override {
    number_ = number;
    wrong_ = after_wrong_volume;
    return false;
  }
  bool confirm_cancel() override { return true; }
  int number_ = 0;
  bool wrong_ = false;
};

class NoProgress final : public archive::LoadProgress {
 public:
  void set_progress(int) override {}
  void stage(archive::LoadStage) override {}
};

// The record with a copy of its data (the entry points into data that goes away).
FileRecord record_of(const archive::FileEntry& e) {
  FileRecord r{e, std::string(reinterpret_cast<const char*>(e.data), static_cast<size_t>(e.data_size))};
  r.entry.data = nullptr;
  r.entry.data_offset = 0;
  return r;
}

}  // namespace

Installer read_installer(const fs::path& path, bool with_files) {
  Installer in;
  in.path = path;
  archive::StdioByteSource file;
  if (!file.open(path.c_str()))
    throw InputError(path.string() + ": cannot open: " + std::strerror(errno));
  InstallerLayout& l = in.layout;
  l.file_size = file.size();

  archive::ArchiveSection& section = l.section;
  CorruptCode code = archive::find_archive_section(file, section);
  if (code != CorruptCode::None) corrupt(in, "the PE headers are damaged", code);
  if (!section.found) throw InputError(path.string() + ": not an installer (no .qvin archive section)");

  archive::SliceByteSource section_bytes = archive::archive_section_bytes(file, section);
  archive::ArchiveHeader& header = l.header;
  code = archive::read_archive_header(section_bytes, header);
  if (header.version_too_new)
    throw InputError(path.string() + ": archive format " + std::to_string(header.format_version / 100.0) +
                     " is newer than this tool reads");
  if (code != CorruptCode::None) corrupt(in, "the archive header or header block is damaged", code);

  // The same order as the program: the flag words, the block's checksum, the rest.
  code = archive::check_block_sum(header.block, header.block_sum);
  archive::MemoryStream stream(header.block.text(), header.block.length());
  archive::Settings& settings = in.settings;
  CorruptCode flags_code = archive::read_settings_flags(stream, settings);
  if (flags_code != CorruptCode::None) corrupt(in, "the settings are damaged", flags_code);
  if (code != CorruptCode::None) corrupt(in, "the header block is damaged", code);
  code = archive::read_stored_settings(stream, l.file_size, settings);
  if (code != CorruptCode::None) corrupt(in, "the settings are damaged", code);

  core::String image;
  code = archive::build_uninstaller_image(file, section, header.exe_sum,
                                          (settings.flags2 & archive::flag2::VerifyInstallerChecksum) != 0,
                                          settings.uninstaller_patch, image);
  if (code != CorruptCode::None) corrupt(in, "the program bytes are damaged", code);
  if (!with_files) return in;

  const std::string base = from_core(settings.volume_base_name);
  const fs::path directory = path.parent_path().empty() ? fs::path(".") : path.parent_path();
  ToolVolumes volumes(directory);
  NoPrompt prompt;
  NoProgress progress;
  const std::string directory_text = directory.string();  // the sources keep a pointer to it
  const archive::DataSources sources = archive::data_sources(settings, section_bytes, file, directory_text.c_str());
  archive::ArchiveData data;
  const archive::LoadResult loaded =
      archive::load_archive_data(header, section, sources, volumes, prompt, progress, data);
  int64_t in_volumes = 0;
  for (size_t i = 0; i < volumes.opened_.size() && static_cast<int>(i) < data.volumes_read; ++i) {
    VolumeInfo v;
    v.path = volumes.opened_[i].first;
    v.number = static_cast<int>(i) + 2;
    v.identifier = settings.first_volume_id + static_cast<int32_t>(i);
    v.data_bytes = volumes.opened_[i].second - 4;
    in_volumes += v.data_bytes;
    in.volumes.push_back(v);
  }
  switch (loaded.status) {
    case archive::LoadStatus::Loaded: break;
    case archive::LoadStatus::Corrupt: corrupt(in, "the archive data is damaged", loaded.code);
    case archive::LoadStatus::ReadFailed: throw InputError(path.string() + ": " + archive::kDataReadFailedMessage);
    case archive::LoadStatus::Cancelled: {
      const std::string name = from_core(archive::volume_file_name(base.c_str(), prompt.number_));
      throw InputError(path.string() + ": volume " + std::to_string(prompt.number_) + ", " +
                       (directory / path_of_cp1252(name)).string() +
                       (prompt.wrong_ ? ", is not the right volume or cannot be read" : ", is missing"));
    }
  }
  l.first_part_bytes = std::max<int64_t>(0, header.data_length - in_volumes);
  l.unpacked_data_length = data.length;

  archive::ArchiveCursor table = data.cursor();
  for (int32_t i = 0; i < header.file_count; ++i) {
    archive::FileEntry entry;
    code = archive::read_file_entry(table, header.file_sizes.at(i), entry);
    if (code != CorruptCode::None)
      corrupt(in, "file " + std::to_string(i + 1) +
                      (entry.name.length() ? " (" + cp1252_to_utf8(from_core(entry.name)) + ")" : std::string()) +
                      " is damaged",
              code);
    in.files.push_back(record_of(entry));
  }
  return in;
}

namespace {

[[noreturn]] void cannot_store(const std::string& what, CorruptCode code) {
  throw ProjectError(what + " cannot be stored: " + archive::corrupt_code_meaning(code));
}

// The record's entry with its data when it holds it; a deferred record's entry has the
// planned size and no bytes yet.
archive::FileEntry record_entry(const FileRecord& r) {
  archive::FileEntry e = r.with_data();
  if (r.deferred) {
    e.data = nullptr;
    e.data_size = static_cast<int32_t>(r.deferred->size);
  }
  return e;
}

// Names the runtime would refuse as damage are the project's mistake: say which.
void check_names(const archive::FileEntry& e) {
  if (const char* problem = archive::stored_name_problem(e.name.text(), archive::StoredNameKind::Name))
    throw ProjectError("file \"" + utf8_of(e.name) + "\" cannot be stored: " + problem);
  if (!e.destination.is_empty()) {
    const auto kind = e.renames() ? archive::StoredNameKind::Name : archive::StoredNameKind::Destination;
    if (const char* problem = archive::stored_name_problem(e.destination.text(), kind))
      throw ProjectError("file \"" + utf8_of(e.name) + "\": destination \"" + utf8_of(e.destination) +
                         "\" cannot be stored: " + problem);
  }
}

// The bytes an entry takes in the file table: its fields written without the data (and
// with the checksum of no data, so that the writer goes through all of them), plus the
// data's length. Throws ProjectError for fields the table cannot hold.
int64_t entry_length(const archive::FileEntry& e) {
  archive::FileEntry fields = e;
  fields.data = nullptr;
  fields.data_size = 0;
  fields.checksum = archive::archive_checksum(nullptr, 0);
  archive::MemoryStream stream;
  const CorruptCode code = archive::write_file_entry(stream, fields);
  if (code != CorruptCode::None) cannot_store("file \"" + utf8_of(e.name) + "\"", code);
  return stream.size() + e.data_size;
}

}  // namespace

BuildReport write_installer(const fs::path& output, const std::string& stub, archive::Settings settings,
                            const std::vector<FileRecord>& files, const BuildOptions& options) {
  BuildReport report;
  uint64_t total = 0;
  for (const FileRecord& r : files) total += static_cast<uint64_t>(r.data_size()) + static_cast<size_t>(r.entry.name.length()) + 64;
  if (total > 0x7FF00000u) throw ProjectError("the files add up to more than the 2 GB one installer can hold");
  // The names first, so that a mistake is reported before any data is read.
  std::vector<int32_t> sizes;
  int64_t table_length = 0;
  for (const FileRecord& r : files) {
    const archive::FileEntry e = record_entry(r);
    check_names(e);
    table_length += entry_length(e);
    sizes.push_back(e.data_size);
    report.data_bytes += e.data_size;
  }
  // The file table, then the data as stored. The table is the one copy of the payload a
  // build holds; it lies on huge pages for the match finders.
  LargeArray<uint8_t> table(static_cast<size_t>(table_length));
  int64_t filled = 0;
  for (const FileRecord& r : files) {
    const std::string loaded = r.deferred ? deferred_bytes(*r.deferred) : std::string();
    archive::FileEntry e = record_entry(r);
    if (r.deferred) e.data = reinterpret_cast<const uint8_t*>(loaded.data());
    archive::MemoryStream stream;
    const CorruptCode code = archive::write_file_entry(stream, e);
    // An override of the checksum makes a damaged installer on purpose.
    if (code != CorruptCode::None && code != CorruptCode::FileChecksum)
      cannot_store("file \"" + utf8_of(r.entry.name) + "\"", code);
    if (filled + stream.size() > table_length) throw std::logic_error("file table longer than measured");
    std::copy_n(stream.data(), stream.size(), table.get() + filled);
    filled += stream.size();
  }
  if (filled != table_length) throw std::logic_error("file table shorter than measured");
  std::vector<uint8_t> packed;
  const uint8_t* data = table.get();
  int64_t data_length = table_length;
  const bool compressing = (settings.flags & archive::flag::CompressData) && data_length > 0;
  if (compressing) {
    const auto level = options.compression_level >= 7 ? CompressionLevel::Strong : CompressionLevel::Fast;
    try {
      const std::span<const uint8_t> input{data, static_cast<size_t>(data_length)};
      packed = options.codec == DataCodec::Lzma ? lzma_encode_data(input, level) : compress_block(input, level);
    } catch (const std::length_error&) {
      throw ProjectError("the files are too large for one installer once compressed (256 MB)");
    }
    table = LargeArray<uint8_t>();  // the uncompressed data is no longer needed
    data = packed.data();
    data_length = static_cast<int64_t>(packed.size());
  }
  if (options.progress) options.progress(static_cast<uint64_t>(report.data_bytes));
  report.stored_data_bytes = data_length;
  if (options.choose_first_volume_id)
    settings.first_volume_id = static_cast<int32_t>(archive::archive_checksum(data, data_length) & 0x7FFFFFFF);

  // The header block: settings and language tables, sealed.
  archive::MemoryStream block;
  const CorruptCode settings_code = archive::write_settings(block, settings);
  if (settings_code != CorruptCode::None) cannot_store("the settings", settings_code);
  archive::ArchiveHeader header;
  core::String sealed;
  if (!archive::seal_header_block(block.data(), block.size(), sealed, header.block_sum))
    throw ProjectError("the settings are too large for the header block (texts, pictures and the patch "
                       "together must stay below 10 MB)");
  // Only LZMA-coded data needs the newer format; everything else stays readable by 13.2.
  const bool lzma = compressing && options.codec == DataCodec::Lzma;
  header.format_version = lzma ? archive::header::kLzmaVersion : archive::header::kBlockCodecVersion;
  header.file_count = static_cast<int32_t>(sizes.size());
  for (const int32_t size : sizes) header.file_sizes.append(size);

  archive::InstallerParts parts =
      archive::installer_parts(reinterpret_cast<const uint8_t*>(stub.data()), static_cast<int64_t>(stub.size()),
                               header, sealed, data, static_cast<int32_t>(data_length));
  parts.volume_size = options.volume_size;
  parts.first_volume_id = static_cast<uint32_t>(settings.first_volume_id);
  archive::InstallerFiles made;
  const archive::WriteError error = archive::write_installer(parts, made);
  if (error != archive::WriteError::None)
    throw ProjectError(std::string("cannot make the installer: ") + archive::write_error_text(error));

  // Everything is written under temporary names first, then renamed.
  std::vector<std::unique_ptr<AtomicOutput>> outputs;
  outputs.push_back(std::make_unique<AtomicOutput>(output));
  outputs.back()->write({made.installer.text(), static_cast<size_t>(made.installer.length())});
  const core::String& base = settings.volume_base_name;
  const auto volume_path = [&](int32_t number) {
    return output.parent_path() / path_of_cp1252(from_core(archive::volume_file_name(base.text(), number)));
  };
  for (int32_t i = 0; i < made.volumes.count(); ++i) {
    outputs.push_back(std::make_unique<AtomicOutput>(volume_path(i + 2)));
    outputs.back()->write({made.volumes.at(i).text(), static_cast<size_t>(made.volumes.at(i).length())});
  }
  for (auto& o : outputs) {
    o->commit();
    report.outputs.push_back(o->target());
  }
  // Volumes an earlier build of this installer had beyond this build's last one would be
  // taken for its own: the numbers that follow go, up to the first that is not there.
  for (int32_t n = made.volumes.count() + 2;; ++n) {
    const fs::path stale = volume_path(n);
    std::error_code failed;
    if (!fs::is_regular_file(stale, failed) || !fs::remove(stale, failed)) break;
  }
  report.installer_bytes = made.installer.length();
  return report;
}

}  // namespace qvin
