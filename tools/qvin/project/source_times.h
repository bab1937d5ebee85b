// Time stamps for reproducible builds: file times clamped to SOURCE_DATE_EPOCH.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "qvin/project/project_model.h"

namespace qvin {

// SOURCE_DATE_EPOCH from the environment, when it is set to a valid number of seconds.
// Throws ProjectError when it is set to something else.
std::optional<int64_t> source_date_epoch();

// The stored form of a moment given in seconds since 1970, as UTC wall-clock fields (so
// the build machine's time zone never changes the output).
core::FileTime stored_time_of(int64_t unix_seconds);

// The time stamp recorded for a file: its modification time, or SOURCE_DATE_EPOCH when
// that is set and earlier.
core::FileTime file_stamp(const std::filesystem::path& file, std::optional<int64_t> epoch);

}  // namespace qvin
