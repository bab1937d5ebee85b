// Conversions between a system file time (UTC FILETIME) and the file time record (local
// time, whole seconds).
#pragma once

#include "core/file_time.h"
#include "core/win/windows.h"

namespace core {

// The local date and time of a file time, milliseconds and weekday dropped; the cleared
// record when the system cannot convert it.
FileTimeRecord from_file_time(const FILETIME& time);

// The file time of a local date and time read with milliseconds 0. False (out untouched)
// when the record has no date or no time of day, or the system cannot convert it.
bool to_file_time(const FileTimeRecord& record, FILETIME& out);

}  // namespace core
