// The machine's local clock and time zone: one small function each per platform, and a
// switch that lets tests fix both.
#pragma once

#include <stdint.h>

namespace core {

// The local date and time of day, whole seconds.
struct LocalClock {
  int32_t year = 0;
  int32_t month = 0;  // 1..12
  int32_t day = 0;
  int32_t hour = 0;
  int32_t minute = 0;
  int32_t second = 0;
};

// The local time zone in the system's terms: minutes to add to local time to get UTC
// (bias), the extra bias of standard and of daylight time, and whether daylight time is in
// effect now.
struct TimeZoneInfo {
  int32_t bias = 0;
  int32_t standard_bias = 0;
  int32_t daylight_bias = 0;
  bool daylight = false;
};

// The machine's clock and zone, as each platform reads them (clock_posix.cpp,
// clock_win.cpp). A zone the system cannot report reads as UTC without daylight time.
LocalClock system_local_clock();
TimeZoneInfo system_time_zone();

// What the library uses: the machine's clock and zone, unless fixed below.
LocalClock local_clock();
TimeZoneInfo time_zone();

// Fixes the clock and zone that local_clock and time_zone report (for tests); null
// returns each to the machine's. The values are copied. Not thread-safe.
void fix_clock(const LocalClock* clock, const TimeZoneInfo* zone);

}  // namespace core
