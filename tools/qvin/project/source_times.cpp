// Source time stamps: modification times, SOURCE_DATE_EPOCH, UTC breakdown.
#include "qvin/project/source_times.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "qvin/platform/system.h"
#include "qvin/project/errors.h"

namespace qvin {

std::optional<int64_t> source_date_epoch() {
  const char* value = std::getenv("SOURCE_DATE_EPOCH");
  if (!value || !*value) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long long seconds = std::strtoll(value, &end, 10);
  if (*end != '\0' || errno != 0 || seconds < 0)
    throw ProjectError(std::string("SOURCE_DATE_EPOCH: expected a number of seconds since 1970, found \"") +
                       value + "\"");
  return seconds;
}

core::FileTime stored_time_of(int64_t unix_seconds) {
  using namespace std::chrono;
  const sys_seconds moment{seconds(unix_seconds)};
  const sys_days day = floor<days>(moment);
  const year_month_day date{day};
  const hh_mm_ss<seconds> clock{moment - day};
  return core::FileTime{static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                        static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(clock.hours().count()),
                        static_cast<int>(clock.minutes().count()), static_cast<int>(clock.seconds().count())};
}

int64_t unix_seconds_of(const core::FileTime& t) {
  using namespace std::chrono;
  const sys_days day{year{t.year} / month{static_cast<unsigned>(t.month)} / static_cast<unsigned>(t.day)};
  int64_t seconds_of_day = 0;
  if (t.has_time()) seconds_of_day = int64_t{t.hour} * 3600 + t.minute * 60 + t.second;
  return day.time_since_epoch().count() * int64_t{86400} + seconds_of_day;
}

core::FileTime file_stamp(const std::filesystem::path& file, std::optional<int64_t> epoch) {
  int64_t seconds = platform::modification_time(file).value_or(0);
  if (epoch && seconds > *epoch) seconds = *epoch;
  return stored_time_of(seconds);
}

std::string stored_time_text(const core::FileTime& t, char separator, const char* no_date) {
  if (!t.has_date()) return no_date;
  char buf[64];
  if (t.has_time())
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d%c%02d:%02d:%02d", t.year, t.month, t.day, separator, t.hour,
                  t.minute, t.second);
  else
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", t.year, t.month, t.day);
  return buf;
}

}  // namespace qvin
