// The tool's model of an installer: the archive library's settings and file records,
// the [[files]] rules and the build options. Texts are Windows-1252 bytes, as the
// archive stores them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "archive/file_entry.h"
#include "archive/settings.h"
#include "core/file_time.h"

namespace qvin {

// Where a planned record's bytes are read when the installer is written: the planner
// reads each file once for its checksum and version and keeps no copy, so a build holds
// the payload only once (in the archive data).
struct DeferredData {
  std::filesystem::path path;
  int64_t size = 0;       // after the rule's cut or zero padding
  uint32_t checksum = 0;  // of those bytes as planned, to notice a file that changed since
  std::optional<int64_t> cut;  // the rule's size, when it gives one
};

// One record of the file table with the data it owns: the entry's data pointer stays
// null and `data` holds the bytes, or `deferred` says where they are read from.
struct FileRecord {
  archive::FileEntry entry;
  std::string data;
  std::optional<DeferredData> deferred;

  int64_t data_size() const { return deferred ? deferred->size : static_cast<int64_t>(data.size()); }

  // The entry pointing at `data` (valid while the record lives and is not changed).
  archive::FileEntry with_data() const {
    archive::FileEntry e = entry;
    e.data = reinterpret_cast<const uint8_t*>(data.data());
    e.data_size = static_cast<int32_t>(data.size());
    return e;
  }
};

// A [[files]] entry as written: which sources, and what their records say.
struct FileRule {
  std::string where;  // "FILE:LINE:COL" of the entry, for messages
  std::vector<std::string> sources;  // paths or glob patterns, relative to the project
  bool recursive = false;
  std::vector<std::string> excludes;  // patterns of found files and directories not taken ('/' separated)
  bool dot_files = false;             // take dot files and directories that patterns and walks find
  std::optional<std::string> name;   // stored name of a single file
  std::string subdirectory;          // put in front of every stored name
  uint32_t kind = archive::file_kind::Install;
  uint32_t flags = 0;  // archive::file_flag bits
  int32_t attributes = archive::kKeepAttributes;
  std::string shortcut_name;
  std::string font_name;
  std::string icon;
  std::string arguments;
  std::string destination;
  std::string working_dir;
  std::optional<std::string> version;  // overrides the version resource
  std::optional<core::FileTime> time;  // overrides the file's time stamp
  std::optional<uint32_t> checksum;    // overrides the computed checksum
  std::optional<int64_t> size;         // cuts or zero-pads the data to this size
};

// A project: the settings, the file rules and the build choices.
struct Project {
  std::filesystem::path file;      // the project file
  std::filesystem::path base_dir;  // sources, texts and pictures are relative to it
  archive::Settings settings;  // as they will be stored (no runtime defaults)
  std::vector<FileRule> files;
  int compression_level = 6;
  bool lzma = false;        // [archive] compression = "lzma"
  int64_t volume_size = 0;  // 0: no volume files
  std::set<std::string> given;  // "section.key" of every setting the file gives
  uint32_t flags_given = 0;   // bits of `flags` the [flags] table set explicitly
  uint32_t flags2_given = 0;  // likewise for `flags2`
};

}  // namespace qvin
