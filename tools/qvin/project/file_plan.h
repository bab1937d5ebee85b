// The file table of a project: its [[files]] rules turned into records with data.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <optional>
#include <vector>

#include "qvin/project/project_model.h"

namespace qvin {

// The files one rule names, in a fixed order (sorted by stored name): each with the
// path it is read from and the stored name it gets. Throws ProjectError at the rule's
// place when a source is missing, unreadable, a directory without `recursive`, or a
// pattern that matches nothing.
struct SourceFile {
  std::filesystem::path path;
  std::string stored_name;  // Windows-1252, '\' separated
};
std::vector<SourceFile> expand_sources(const FileRule& rule, const std::filesystem::path& base_dir);

// Every record of the project's file table, in rule order, with data, checksum, time
// and version taken from the files unless the rule overrides them. `epoch` clamps the
// files' time stamps (SOURCE_DATE_EPOCH). `progress` (when given) is told each file.
std::vector<FileRecord> plan_files(const Project& project, std::optional<int64_t> epoch,
                                   const std::function<void(uint64_t bytes)>& progress = {});

// The bytes of a deferred record, read again from its file. Throws ProjectError when
// the file cannot be read or no longer holds the bytes that were planned.
std::string deferred_bytes(const DeferredData& source);

// Reads `path` (cut or zero-padded to `size` when given) into `bytes`; false on failure
// with errno set.
bool read_source(const std::filesystem::path& path, std::optional<int64_t> size, std::string& bytes);

// True when `name` matches the pattern (`*`, `?` and `[...]` classes).
bool glob_match(std::string_view pattern, std::string_view name);

}  // namespace qvin
