// Ordering of file time records.
#include "core/file_time.h"

namespace core {

namespace {

int32_t sign_of_difference(int32_t a, int32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

}  // namespace

int32_t compare_file_times(const FileTimeRecord& a, const FileTimeRecord& b) {
  if (a.has_date() != b.has_date()) return a.has_date() ? -1 : 1;
  if (a.has_date()) {
    if (int32_t c = sign_of_difference(a.year, b.year)) return c;
    if (int32_t c = sign_of_difference(a.month, b.month)) return c;
    if (int32_t c = sign_of_difference(a.day, b.day)) return c;
  }
  if (!a.has_time()) return b.has_time() ? 1 : 0;
  if (!b.has_time()) return -1;
  if (int32_t c = sign_of_difference(a.hour, b.hour)) return c;
  if (int32_t c = sign_of_difference(a.minute, b.minute)) return c;
  // Seconds come from the system (0..59); their difference cannot overflow in practice,
  // but a record read from a damaged archive may hold anything.
  int64_t seconds = static_cast<int64_t>(a.second) - b.second;
  if (seconds > INT32_MAX) return INT32_MAX;
  if (seconds < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(seconds);
}

}  // namespace core
