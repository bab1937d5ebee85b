// Source time stamps: modification times, SOURCE_DATE_EPOCH, UTC breakdown.
#include "qvin/project/source_times.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

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
  const std::time_t t = static_cast<std::time_t>(unix_seconds);
  std::tm tm{};
  gmtime_r(&t, &tm);
  return core::FileTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

core::FileTime file_stamp(const std::filesystem::path& file, std::optional<int64_t> epoch) {
  struct stat st {};
  int64_t seconds = 0;
  if (::stat(file.c_str(), &st) == 0) seconds = st.st_mtime;
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
