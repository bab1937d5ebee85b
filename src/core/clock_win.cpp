// The local clock and time zone on Windows.
#ifdef _WIN32

#include "core/clock.h"
#include "core/win/windows.h"

namespace core {

LocalClock system_local_clock() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  LocalClock clock;
  clock.year = now.wYear;
  clock.month = now.wMonth;
  clock.day = now.wDay;
  clock.hour = now.wHour;
  clock.minute = now.wMinute;
  clock.second = now.wSecond;
  return clock;
}

TimeZoneInfo system_time_zone() {
  TIME_ZONE_INFORMATION information = {};
  DWORD result = GetTimeZoneInformation(&information);
  TimeZoneInfo zone;
  if (result == TIME_ZONE_ID_INVALID) return zone;
  zone.bias = information.Bias;
  zone.standard_bias = information.StandardBias;
  zone.daylight_bias = information.DaylightBias;
  zone.daylight = result == TIME_ZONE_ID_DAYLIGHT;
  return zone;
}

}  // namespace core

#endif  // _WIN32
