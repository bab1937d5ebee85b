// Calendar dates, times of day and date-times: day numbers (proleptic Julian calendar
// before 15 October 1582, Gregorian from then on), validity, names, ordering, and the
// machine's current date, time and zone offset.
#pragma once

#include <stdint.h>

#include "core/clock.h"

namespace core {

// The day number of 1 January 2000 (the astronomical Julian Day Number minus one).
inline constexpr int32_t day_number_2000 = 2451544;
// The first day of the Gregorian calendar, 15 October 1582.
inline constexpr int32_t first_gregorian_day_number = 2299160;

// Leap years: before 1582 every year divisible by 4 (so -4 is one, -1 is not); from 1582 on
// the Gregorian rule.
bool is_leap_year(int32_t year);

// The length of a month of a year; 0 for a month outside 1..12.
int32_t days_in_month(int32_t month, int32_t year);

// The day number of a month, day and year as given (no two-digit expansion; the date need
// not be valid: 31 February counts on into March). 0 (no date) for a month of 0 or less,
// and for a date too far from the present for 32 bits.
int32_t day_number_of(int32_t month, int32_t day, int32_t year);

// 1 = Sunday .. 7 = Saturday of a day number, for any day number.
int32_t weekday_of(int32_t day_number);

// A year of 100 or below, 0 included, is read as one of two digits: of the three years
// with those last two digits in the current year's century and the ones either side, the
// one nearest current_year; ties go to the later year. Years above 100 and negative years
// are kept.
int32_t expand_two_digit_year(int32_t year, int32_t current_year);

// A calendar date: five signed 32-bit fields in this order (the archive stores them so,
// 20 bytes). Day number 0 and month 0 mean no date; a default date is that empty one.
struct CalendarDate {
  int32_t day_number = 0;
  int32_t month = 0;    // 1..12
  int32_t day = 0;      // 1..31
  int32_t year = 0;     // full year; years before 1 are allowed, there is no year 0
  int32_t weekday = 0;  // 1 = Sunday .. 7 = Saturday

  // Sets month, day and year (a two-digit year expanded against the current year) and
  // computes the day number and weekday. Fields out of range are kept as given, so the
  // date may come out invalid (31 February). A month of 0 or less, or a date too far from
  // the present for a 32-bit day number, gives no date (day number and weekday 0).
  void set_date(int32_t month, int32_t day, int32_t year);
  // Sets the day number and computes month, day, year and weekday from it; 0 clears.
  void set_day_number(int32_t day_number);

  // Month 1..12, weekday 1..7 and day within the month.
  bool is_valid() const;
  void clear() { *this = CalendarDate(); }
  bool operator==(const CalendarDate&) const = default;
};

static_assert(sizeof(CalendarDate) == 20, "five 32-bit fields");

// A time of day; the cleared time is -1:-1:-1.
struct TimeOfDay {
  int32_t hour = -1;
  int32_t minute = -1;
  int32_t second = -1;

  // Hour 0..23, minute and second 0..59.
  bool is_valid() const;
  void clear() { *this = TimeOfDay(); }
};

// A calendar date followed by a time of day.
struct DateTime {
  CalendarDate date;
  TimeOfDay time;

  void clear() { *this = DateTime(); }
};

// "Sunday" .. "Saturday" for 1..7, "January" .. "December" for 1..12, and their first
// three letters; the empty text for an index out of range. Static texts.
const char* weekday_name(int32_t weekday);
const char* short_weekday_name(int32_t weekday);
const char* month_name(int32_t month);
const char* short_month_name(int32_t month);

// -1, 0 or 1. An invalid date is less than any valid one; two invalid dates are equal;
// valid dates compare by day number.
int32_t compare_dates(const CalendarDate& a, const CalendarDate& b);

// -1, 0 or 1: the dates as compare_dates, then the times, an invalid time counting as
// 00:00:00.
int32_t compare_date_times(const DateTime& a, const DateTime& b);

// The current local date, date and time (whole seconds), and year, from local_clock().
CalendarDate today();
DateTime now();
int32_t current_year();

// The offset of local time from UTC in minutes (east positive): minus (bias plus the
// daylight bias) while daylight time is in effect, otherwise minus (bias plus the standard
// bias). The second form reads time_zone().
int32_t utc_offset_minutes(const TimeZoneInfo& zone);
int32_t utc_offset_minutes();

}  // namespace core
