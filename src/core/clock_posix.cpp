// The local clock and time zone on POSIX hosts (the qvin tool and native tests).
#ifndef _WIN32

#include <time.h>

#include "core/clock.h"

namespace core {

LocalClock system_local_clock() {
  LocalClock clock;
  time_t seconds = time(nullptr);
  struct tm parts;
  if (localtime_r(&seconds, &parts) == nullptr) return clock;
  clock.year = parts.tm_year + 1900;
  clock.month = parts.tm_mon + 1;
  clock.day = parts.tm_mday;
  clock.hour = parts.tm_hour;
  clock.minute = parts.tm_min;
  clock.second = parts.tm_sec;
  return clock;
}

TimeZoneInfo system_time_zone() {
  TimeZoneInfo zone;
  time_t seconds = time(nullptr);
  struct tm parts;
  if (localtime_r(&seconds, &parts) == nullptr) return zone;
  // tm_gmtoff already includes daylight time; report it as the base bias so that both
  // readings of the zone give the current offset.
  zone.bias = static_cast<int32_t>(-parts.tm_gmtoff / 60);
  zone.daylight = parts.tm_isdst > 0;
  return zone;
}

}  // namespace core

#endif  // !_WIN32
