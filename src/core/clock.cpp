// The clock the library reads: the machine's, or one fixed by a test.
#include "core/clock.h"

namespace core {

namespace {

// Constant-initialised: no global constructors in the stub.
bool clock_fixed = false;
bool zone_fixed = false;
LocalClock fixed_clock;
TimeZoneInfo fixed_zone;

}  // namespace

LocalClock local_clock() { return clock_fixed ? fixed_clock : system_local_clock(); }

TimeZoneInfo time_zone() { return zone_fixed ? fixed_zone : system_time_zone(); }

void fix_clock(const LocalClock* clock, const TimeZoneInfo* zone) {
  clock_fixed = clock != nullptr;
  if (clock) fixed_clock = *clock;
  zone_fixed = zone != nullptr;
  if (zone) fixed_zone = *zone;
}

}  // namespace core
