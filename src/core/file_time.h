// The file time record: a file's local date and time in whole seconds, and its ordering.
#pragma once

#include <stdint.h>

namespace core {

// Six signed 32-bit fields in this order (the archive stores them so, 24 bytes). The date
// part is present when month is not 0, the time part when hour is 0 or more; a default
// record is the cleared one (no date, no time of day). Conversions to and from the
// system's file times live with the Windows half of the library.
struct FileTimeRecord {
  int32_t year = 0;
  int32_t month = 0;  // 1..12; 0: no date
  int32_t day = 0;
  int32_t hour = -1;  // 0..23; negative: no time of day
  int32_t minute = 0;
  int32_t second = 0;

  bool has_date() const { return month != 0; }
  bool has_time() const { return hour >= 0; }
  void clear() { *this = FileTimeRecord(); }
  bool operator==(const FileTimeRecord&) const = default;
};

static_assert(sizeof(FileTimeRecord) == 24, "six 32-bit fields");

// The name the archive's records use for the same record.
using FileTime = FileTimeRecord;

// Negative, 0 or positive as a is earlier than, equal to or later than b. The dates decide
// first (year, month, day), then the times (hour, minute, then the difference of the
// seconds). A record with a date sorts before one without, and likewise for the time of
// day, so a record whose time is missing compares as later than one at 00:00:00.
int32_t compare_file_times(const FileTimeRecord& a, const FileTimeRecord& b);

}  // namespace core
