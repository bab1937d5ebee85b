// Time stamps: file times clamped to SOURCE_DATE_EPOCH for reproducible builds, and the
// text form of a stored time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "qvin/project/project_model.h"

namespace qvin {

// SOURCE_DATE_EPOCH from the environment, when it is set to a valid number of seconds.
// Throws ProjectError when it is set to something else.
std::optional<int64_t> source_date_epoch();

// The stored form of a moment given in seconds since 1970, as UTC wall-clock fields (so
// the build machine's time zone never changes the output).
core::FileTime stored_time_of(int64_t unix_seconds);

// Seconds since 1970 of a stored time with a date, read as UTC (midnight without a time of
// day): the inverse of stored_time_of.
int64_t unix_seconds_of(const core::FileTime& time);

// The time stamp recorded for a file: its modification time, or SOURCE_DATE_EPOCH when
// that is set and earlier.
core::FileTime file_stamp(const std::filesystem::path& file, std::optional<int64_t> epoch);

// "2024-05-01T12:00:00" (with `separator` between date and time), "2024-05-01" without a
// time of day, or `no_date` without a date.
std::string stored_time_text(const core::FileTime& time, char separator = 'T', const char* no_date = "none");

}  // namespace qvin
