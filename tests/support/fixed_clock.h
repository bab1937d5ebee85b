// A test's fixed local clock and zone: the library's date functions read these instead of
// the machine's until the object goes out of scope.
#pragma once

#include <stdint.h>

#include "core/clock.h"

namespace test_support {

class FixedClock {
 public:
  // 15 June of year, 09:30:05, offset_minutes east of UTC without daylight time.
  explicit FixedClock(int32_t year, int32_t offset_minutes = 0) {
    core::LocalClock clock;
    clock.year = year;
    clock.month = 6;
    clock.day = 15;
    clock.hour = 9;
    clock.minute = 30;
    clock.second = 5;
    core::TimeZoneInfo zone;
    zone.bias = -offset_minutes;
    core::fix_clock(&clock, &zone);
  }
  ~FixedClock() { core::fix_clock(nullptr, nullptr); }
  FixedClock(const FixedClock&) = delete;
  FixedClock& operator=(const FixedClock&) = delete;
};

}  // namespace test_support
