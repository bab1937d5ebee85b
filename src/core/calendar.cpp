// Day numbers, validity, names and ordering of calendar dates and times.
#include "core/calendar.h"

namespace core {

namespace {

const char* const weekday_names[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const short_weekday_names[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const month_names[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
const char* const short_month_names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The day number of 1 January of year 1.
constexpr int64_t first_day_of_year_1 = 1721423;
// Whole Julian cycles of four years (1461 days) before year 1 repeat the same pattern, as
// the leap rule there is divisibility by 4 alone.
constexpr int64_t days_in_four_julian_years = 1461;

int32_t sign_of_difference(int64_t a, int64_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

// The day number of a date with month 1 or more, in 64 bits; the date need not be valid.
int64_t day_number_from(int64_t month, int64_t day, int64_t year) {
  int64_t m = month;
  int64_t y = year;
  if (month <= 2) {
    m += 12;
    y -= 1;
  }
  if (y < 0) y += 1;  // no year 0: 1 BC follows 1 AD directly
  // trunc(y * 365.25) and trunc((m + 1) * 30.6001) in exact integer arithmetic.
  int64_t n = y * 1461 / 4 + day + (m + 1) * 306001 / 10000;
  if ((m + 100 * y) * 100 + day < 15821015) return n + 1720994;
  return n + y / 400 - y / 100 + 1720996;
}

}  // namespace

bool is_leap_year(int32_t year) {
  if (year < 1582) return year % 4 == 0;
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int32_t days_in_month(int32_t month, int32_t year) {
  static const int8_t lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && is_leap_year(year)) return 29;
  return lengths[month - 1];
}

int32_t day_number_of(int32_t month, int32_t day, int32_t year) {
  if (month <= 0) return 0;
  int64_t n = day_number_from(month, day, year);
  return n < INT32_MIN || n > INT32_MAX ? 0 : static_cast<int32_t>(n);
}

int32_t weekday_of(int32_t day_number) {
  int64_t shifted = (static_cast<int64_t>(day_number) + 2) % 7;
  if (shifted < 0) shifted += 7;
  return static_cast<int32_t>(shifted) + 1;
}

int32_t expand_two_digit_year(int32_t year, int32_t current_year) {
  if (year > 100 || year < 0) return year;
  int64_t now = current_year;
  int64_t century = now - now % 100;
  int64_t earlier = year + century - 100;
  int64_t middle = year + century;
  int64_t later = year + century + 100;
  int64_t middle_distance = middle > now ? middle - now : now - middle;
  int64_t best = middle;
  int64_t best_distance = middle_distance;
  if (now - earlier < best_distance) {
    best = earlier;
    best_distance = now - earlier;
  }
  if (later - now <= best_distance) best = later;
  return static_cast<int32_t>(best);
}

void CalendarDate::set_date(int32_t new_month, int32_t new_day, int32_t new_year) {
  month = new_month;
  day = new_day;
  year = expand_two_digit_year(new_year, current_year());
  day_number = 0;
  weekday = 0;
  if (month <= 0) return;
  day_number = day_number_of(month, day, year);
  // Too far off to number (or the one day whose number means "no date").
  if (day_number == 0) {
    clear();
    return;
  }
  weekday = weekday_of(day_number);
}

void CalendarDate::set_day_number(int32_t n) {
  clear();
  if (n == 0) return;
  int64_t number = n;
  // The arithmetic below holds from day number 1 on; earlier days are moved forward by
  // whole four-year Julian cycles and the years moved back afterwards.
  int64_t cycles = 0;
  if (number < 1) {
    cycles = (1 - number + days_in_four_julian_years - 1) / days_in_four_julian_years;
    number += cycles * days_in_four_julian_years;
  }
  // The standard conversion, on the Julian Day Number, in exact integer arithmetic:
  // alpha = trunc((z - 1867216.25) / 36524.25), c = trunc((b - 122.1) / 365.25),
  // d = trunc(365.25 c), e = trunc((b - d) / 30.6001).
  int64_t z = number + 1;
  int64_t a = z;
  if (number >= first_gregorian_day_number) {
    int64_t alpha = (4 * z - 7468865) / 146097;
    a = z + 1 + alpha - alpha / 4;
  }
  // Before year 1 the offset differs by a leap year's length, which skips the year 0.
  int64_t b = a + (number < first_day_of_year_1 ? 1158 : 1524);
  int64_t c = (100 * b - 12210) / 36525;
  int64_t d = 1461 * c / 4;
  int64_t e = (b - d) * 10000 / 306001;
  day = static_cast<int32_t>(b - d - 306001 * e / 10000);
  month = static_cast<int32_t>(e < 14 ? e - 1 : e - 13);
  year = static_cast<int32_t>((month > 2 ? c - 4716 : c - 4715) - 4 * cycles);
  day_number = n;
  weekday = weekday_of(n);
}

bool CalendarDate::is_valid() const {
  return month >= 1 && month <= 12 && weekday >= 1 && weekday <= 7 && day >= 1 && day <= days_in_month(month, year);
}

bool TimeOfDay::is_valid() const {
  return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

const char* weekday_name(int32_t weekday) {
  return weekday >= 1 && weekday <= 7 ? weekday_names[weekday - 1] : "";
}

const char* short_weekday_name(int32_t weekday) {
  return weekday >= 1 && weekday <= 7 ? short_weekday_names[weekday - 1] : "";
}

const char* month_name(int32_t month) { return month >= 1 && month <= 12 ? month_names[month - 1] : ""; }

const char* short_month_name(int32_t month) {
  return month >= 1 && month <= 12 ? short_month_names[month - 1] : "";
}

int32_t compare_dates(const CalendarDate& a, const CalendarDate& b) {
  bool a_valid = a.is_valid();
  bool b_valid = b.is_valid();
  if (!a_valid || !b_valid) return a_valid ? 1 : (b_valid ? -1 : 0);
  return sign_of_difference(a.day_number, b.day_number);
}

int32_t compare_date_times(const DateTime& a, const DateTime& b) {
  if (int32_t c = compare_dates(a.date, b.date)) return c;
  TimeOfDay midnight = {0, 0, 0};
  const TimeOfDay& ta = a.time.is_valid() ? a.time : midnight;
  const TimeOfDay& tb = b.time.is_valid() ? b.time : midnight;
  if (int32_t c = sign_of_difference(ta.hour, tb.hour)) return c;
  if (int32_t c = sign_of_difference(ta.minute, tb.minute)) return c;
  return sign_of_difference(ta.second, tb.second);
}

CalendarDate today() {
  LocalClock clock = local_clock();
  CalendarDate date;
  date.set_date(clock.month, clock.day, clock.year);
  return date;
}

DateTime now() {
  LocalClock clock = local_clock();
  DateTime result;
  result.date.set_date(clock.month, clock.day, clock.year);
  result.time = TimeOfDay{clock.hour, clock.minute, clock.second};
  return result;
}

int32_t current_year() { return local_clock().year; }

int32_t utc_offset_minutes(const TimeZoneInfo& zone) {
  return -(zone.bias + (zone.daylight ? zone.daylight_bias : zone.standard_bias));
}

int32_t utc_offset_minutes() { return utc_offset_minutes(time_zone()); }

}  // namespace core
