// Tests of calendar dates and times, their parsing and ordering, file time records and the
// zone offset rule, on a fixed clock and zone.
#include <gtest/gtest.h>
#include <stdint.h>
#include <string.h>

#include <string>

#include "core/calendar.h"
#include "core/clock.h"
#include "core/date_parse.h"
#include "core/file_time.h"
#include "support/fixed_clock.h"

namespace {

using core::CalendarDate;
using core::DateTime;
using core::FileTimeRecord;
using core::TimeOfDay;

using test_support::FixedClock;

std::string ymd(const CalendarDate& d) {
  return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day);
}

std::string hms(const TimeOfDay& t) {
  return std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" + std::to_string(t.second);
}

// ---- Day numbers and the calendar ----

TEST(Calendar, DayNumbersAndWeekdaysOfKnownDates) {
  struct Case {
    int32_t month, day, year, day_number, weekday;
  } cases[] = {
      {1, 1, 2000, 2451544, 7},    // the reference day, a Saturday
      {12, 31, 1999, 2451543, 6},  // the day before
      {2, 29, 2000, 2451603, 3},   // Gregorian leap day of a year divisible by 400
      {2, 28, 1900, 2415078, 4},   // followed directly by 1 March in 1900
      {3, 1, 1900, 2415079, 5},
      {3, 5, 2006, 2453799, 1},
      {7, 4, 1776, 2369915, 5},
      {10, 4, 1582, 2299159, 5},   // last Julian day, a Thursday ...
      {10, 15, 1582, 2299160, 6},  // ... followed by the first Gregorian day, a Friday
      {1, 1, 1, 1721423, 7},       // no year 0: 1 January 1 follows 31 December -1
      {12, 31, -1, 1721422, 6},
      {2, 29, -4, 1720021, 5},     // Julian leap day before year 1
      {3, 1, -4, 1720022, 6},
      {1, 2, -4713, 1, 4},         // the first positive day number
      {12, 31, -4714, -1, 2},      // and before it
      {1, 1, -10000, -1931077, 2},
      {12, 31, 9999, 5373483, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day));
    EXPECT_EQ(core::day_number_of(c.month, c.day, c.year), c.day_number);
    EXPECT_EQ(core::weekday_of(c.day_number), c.weekday);

    CalendarDate back;
    back.set_day_number(c.day_number);
    EXPECT_EQ(back.month, c.month);
    EXPECT_EQ(back.day, c.day);
    EXPECT_EQ(back.year, c.year);
    EXPECT_EQ(back.weekday, c.weekday);
    EXPECT_EQ(back.day_number, c.day_number);
    EXPECT_TRUE(back.is_valid());
  }
}

TEST(Calendar, EveryDayFromLongBeforeYear1ToFarAheadNumbersOnAndBack) {
  // Walks the calendar by its own month lengths: day numbers must rise by exactly one
  // each day (also across the year 0 that does not exist and the ten days dropped in
  // October 1582), and converting back must give the same date and weekday.
  int32_t expected = core::day_number_of(1, 1, -6000);
  int32_t checked = 0;
  std::string first_fault;
  for (int32_t year = -6000; year <= 4000 && first_fault.empty(); ++year) {
    if (year == 0) continue;
    for (int32_t month = 1; month <= 12; ++month) {
      for (int32_t day = 1; day <= core::days_in_month(month, year); ++day, ++expected) {
        if (year == 1582 && month == 10 && day == 5) day = 15;
        if (expected == 0) continue;  // day number 0 stands for "no date"
        int32_t n = core::day_number_of(month, day, year);
        CalendarDate back;
        back.set_day_number(n);
        if (n != expected || back.year != year || back.month != month || back.day != day ||
            back.weekday != core::weekday_of(n)) {
          first_fault = std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day) + ": " +
                        std::to_string(n) + " gives " + ymd(back);
        }
        ++checked;
      }
    }
  }
  EXPECT_EQ(first_fault, "");
  EXPECT_GT(checked, 3600000);
}

TEST(Calendar, DayNumberZeroIsNoDate) {
  CalendarDate date;
  date.set_day_number(2451544);
  date.set_day_number(0);
  EXPECT_EQ(date.month, 0);
  EXPECT_EQ(date.day, 0);
  EXPECT_EQ(date.year, 0);
  EXPECT_EQ(date.weekday, 0);
  EXPECT_FALSE(date.is_valid());
  EXPECT_EQ(core::day_number_of(0, 5, 2006), 0);
  EXPECT_EQ(core::day_number_of(-3, 5, 2006), 0);
}

TEST(Calendar, ExtremeDayNumbersAndYears) {
  for (int32_t n : {INT32_MAX, INT32_MIN, INT32_MIN + 1}) {
    CalendarDate date;
    date.set_day_number(n);
    SCOPED_TRACE(n);
    EXPECT_TRUE(date.is_valid());
    EXPECT_EQ(core::day_number_of(date.month, date.day, date.year), n) << ymd(date);
  }
  // Years too far off for a 32-bit day number give no date instead of a wrapped one.
  FixedClock clock(2026);
  CalendarDate date;
  date.set_date(1, 1, 2000000000);
  EXPECT_EQ(date.day_number, 0);
  EXPECT_FALSE(date.is_valid());
  EXPECT_EQ(core::day_number_of(6, 1, -2000000000), 0);
  EXPECT_EQ(core::day_number_of(1, INT32_MAX, 2006), 0);
}

TEST(Calendar, LeapYearsAndMonthLengths) {
  struct Case {
    int32_t year;
    bool leap;
  } years[] = {{2000, true}, {1900, false}, {2100, false}, {2024, true}, {2023, false}, {1600, true},
               {1582, false}, {1500, true}, {1300, true}, {4, true},    {-4, true},    {-1, false}};
  for (const auto& c : years) {
    EXPECT_EQ(core::is_leap_year(c.year), c.leap) << c.year;
    EXPECT_EQ(core::days_in_month(2, c.year), c.leap ? 29 : 28) << c.year;
  }
  const int32_t lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int32_t month = 1; month <= 12; ++month) EXPECT_EQ(core::days_in_month(month, 2006), lengths[month - 1]);
  EXPECT_EQ(core::days_in_month(0, 2006), 0);
  EXPECT_EQ(core::days_in_month(13, 2006), 0);
}

TEST(Calendar, WeekdaysOfAnyDayNumber) {
  // Day numbers count on through the week in both directions, negatives included.
  for (int32_t n = -30; n <= 30; ++n) {
    int32_t next = core::weekday_of(n + 1);
    EXPECT_EQ(next, core::weekday_of(n) % 7 + 1) << n;
  }
  EXPECT_EQ(core::weekday_of(INT32_MAX), (static_cast<int64_t>(INT32_MAX) + 2) % 7 + 1);
  EXPECT_GE(core::weekday_of(INT32_MIN), 1);
}

TEST(Calendar, Validity) {
  FixedClock clock(2026);
  struct Case {
    const char* label;
    int32_t month, day, year;
    bool valid;
  } cases[] = {
      {"ordinary", 3, 5, 2006, true},        {"31 February", 2, 31, 2006, false},
      {"leap day 2000", 2, 29, 2000, true},  {"leap day 1900", 2, 29, 1900, false},
      {"Julian leap day", 2, 29, 1500, true}, {"month 13", 13, 1, 2006, false},
      {"day 0", 3, 0, 2006, false},          {"month 0", 0, 5, 2006, false},
      {"31 April", 4, 31, 2006, false},      {"year before 1", 12, 25, -44, true},
  };
  for (const Case& c : cases) {
    CalendarDate date;
    date.set_date(c.month, c.day, c.year);
    EXPECT_EQ(date.is_valid(), c.valid) << c.label;
  }
  EXPECT_FALSE(CalendarDate().is_valid());
  CalendarDate wrong_weekday;
  wrong_weekday.set_date(3, 5, 2006);
  wrong_weekday.weekday = 8;
  EXPECT_FALSE(wrong_weekday.is_valid());

  struct TimeCase {
    TimeOfDay time;
    bool valid;
  } times[] = {{{0, 0, 0}, true},    {{23, 59, 59}, true}, {{24, 0, 0}, false},
               {{12, 60, 0}, false}, {{12, 0, 60}, false}, {{-1, -1, -1}, false}};
  for (const auto& c : times) EXPECT_EQ(c.time.is_valid(), c.valid) << hms(c.time);
  EXPECT_FALSE(TimeOfDay().is_valid());
}

TEST(Calendar, SetDateExpandsTwoDigitYearsAgainstTheCurrentYear) {
  struct Case {
    int32_t current, year, expanded;
  } cases[] = {
      {2026, 76, 2076},  // 1976 and 2076 are as near: the later one
      {2026, 77, 1977},  {2026, 26, 2026}, {2026, 100, 2000}, {2026, 0, 2000},
      {2026, 99, 1999},  {2026, 101, 101}, {2026, 1999, 1999},
      {2050, 0, 2100},   // 2000 and 2100 are as near: the later one
      {2000, 50, 2050},  {1999, 0, 2000},  {1999, 48, 2048}, {1999, 49, 2049}, {1999, 50, 1950},
      {2026, -44, -44},  // a year before 1 is a full year, not two digits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.year) + " in " + std::to_string(c.current));
    EXPECT_EQ(core::expand_two_digit_year(c.year, c.current), c.expanded);
    FixedClock clock(c.current);
    CalendarDate date;
    date.set_date(1, 2, c.year);
    EXPECT_EQ(date.year, c.expanded);
    EXPECT_EQ(date.day_number, core::day_number_of(1, 2, c.expanded));
    EXPECT_EQ(date.weekday, core::weekday_of(date.day_number));
  }
}

TEST(Calendar, Names) {
  struct Case {
    int32_t index;
    const char *weekday, *short_weekday, *month, *short_month;
  } cases[] = {
      {0, "", "", "", ""},
      {1, "Sunday", "Sun", "January", "Jan"},
      {4, "Wednesday", "Wed", "April", "Apr"},
      {7, "Saturday", "Sat", "July", "Jul"},
      {8, "", "", "August", "Aug"},
      {9, "", "", "September", "Sep"},
      {12, "", "", "December", "Dec"},
      {13, "", "", "", ""},
      {-1, "", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_STREQ(core::weekday_name(c.index), c.weekday);
    EXPECT_STREQ(core::short_weekday_name(c.index), c.short_weekday);
    EXPECT_STREQ(core::month_name(c.index), c.month);
    EXPECT_STREQ(core::short_month_name(c.index), c.short_month);
  }
}

// ---- The clock and the zone ----

TEST(Clock, TodayNowAndCurrentYearReadTheClock) {
  {
    FixedClock clock(2026);
    CalendarDate date = core::today();
    EXPECT_EQ(ymd(date), "2026-6-15");
    EXPECT_EQ(date.weekday, 2);  // a Monday
    DateTime stamp = core::now();
    EXPECT_EQ(ymd(stamp.date), "2026-6-15");
    EXPECT_EQ(hms(stamp.time), "9:30:5");
    EXPECT_EQ(core::current_year(), 2026);
  }
  // The machine's own clock once the fixed one is gone.
  CalendarDate date = core::today();
  EXPECT_TRUE(date.is_valid());
  EXPECT_GE(date.year, 2024);
  EXPECT_TRUE(core::now().time.is_valid());
  EXPECT_EQ(core::current_year(), date.year);
  int32_t offset = core::utc_offset_minutes();
  EXPECT_GE(offset, -14 * 60);
  EXPECT_LE(offset, 14 * 60);
}

TEST(Clock, UtcOffsetFollowsTheReportedZone) {
  struct Case {
    const char* label;
    int32_t bias, standard_bias, daylight_bias;
    bool daylight;
    int32_t offset;
  } cases[] = {
      {"New York, winter", 300, 0, -60, false, -300},
      {"New York, summer", 300, 0, -60, true, -240},
      {"Berlin, summer", -60, 0, -60, true, 120},
      {"India", -330, 0, 0, false, 330},
      {"standard bias counts in winter", 0, 30, -60, false, -30},
      {"UTC", 0, 0, 0, false, 0},
  };
  for (const Case& c : cases) {
    core::TimeZoneInfo zone;
    zone.bias = c.bias;
    zone.standard_bias = c.standard_bias;
    zone.daylight_bias = c.daylight_bias;
    zone.daylight = c.daylight;
    EXPECT_EQ(core::utc_offset_minutes(zone), c.offset) << c.label;
    core::fix_clock(nullptr, &zone);
    EXPECT_EQ(core::utc_offset_minutes(), c.offset) << c.label;
    core::fix_clock(nullptr, nullptr);
  }
}

// ---- Parsing ----

TEST(ParseDate, Forms) {
  FixedClock clock(2026);
  struct Case {
    const char* text;
    bool day_first;
    const char* date;  // year-month-day
    int32_t consumed;  // characters read
    bool valid;
  } cases[] = {
      {"March 2006", false, "2006-3-1", 10, true},
      {"March 2006 10:30", false, "2006-3-1", 11, true},  // stops before the time
      {"March 5, 2006", false, "2006-3-5", 13, true},
      {"mar 5th 2006", false, "2006-3-5", 12, true},
      {"MARCH 2nd, 2006", false, "2006-3-2", 15, true},
      {"Sunday, March 5th, 2006!", false, "2006-3-5", 23, true},
      {"  sun March 5 06", false, "2006-3-5", 16, true},
      {"2006-03-05", false, "2006-3-5", 10, true},
      {"2006-03-05", true, "2006-3-5", 10, true},  // year first whichever order is set
      {"5/3/06", true, "2006-3-5", 6, true},
      {"5/3/06", false, "2006-5-3", 6, true},
      {"3/5/2006 14:07", false, "2006-3-5", 8, true},
      {"1.2.2006", true, "2006-2-1", 8, true},
      {"3 / 5 / 2006", false, "2006-3-5", 12, true},
      {"5-Mar-2006", false, "2006-3-5", 10, true},
      {"5 March 76", false, "2076-3-5", 10, true},
      {"12/25/77", false, "1977-12-25", 8, true},
      {"3/2006", false, "2006-3-1", 6, true},  // the first day of the month
      {"3/2006", true, "2006-3-1", 6, true},
      {"2/31/2006", false, "2006-2-31", 9, false},  // read, but no such day
      {"13/1/2006", false, "2006-13-1", 9, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + (c.day_first ? " (day first)" : ""));
    CalendarDate date;
    const char* end = core::parse_date(c.text, c.day_first, date);
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(end - c.text, c.consumed);
    EXPECT_EQ(ymd(date), c.date);
    EXPECT_EQ(date.is_valid(), c.valid);
    if (c.valid) {
      EXPECT_EQ(date.day_number, core::day_number_of(date.month, date.day, date.year));
    }
  }
}

TEST(ParseDate, FailuresClearTheDate) {
  FixedClock clock(2026);
  const char* texts[] = {
      "",        "   ",         "2006",           "14:07",       "0/5/2006",  "3/0/2006",    "March 0, 2006",
      "Smarch 5", "Sunday 2006", "5-Foo-2006",    "-3/5/2006",   "March",     "5 x 2006",
  };
  for (const char* text : texts) {
    CalendarDate date;
    date.set_date(3, 5, 2006);
    EXPECT_EQ(core::parse_date(text, false, date), nullptr) << text;
    EXPECT_EQ(ymd(date), "0-0-0") << text;
    EXPECT_EQ(date.day_number, 0) << text;
    EXPECT_EQ(date.weekday, 0) << text;
  }
  CalendarDate date;
  EXPECT_EQ(core::parse_date(nullptr, false, date), nullptr);
}

TEST(ParseTime, Forms) {
  struct Case {
    const char* text;
    const char* time;  // hour:minute:second, or null for a failure
    int32_t consumed;
  } cases[] = {
      {"14:07:09", "14:7:9", 8},
      {"3:07pm", "15:7:0", 6},
      {"3:07 PM, then", "15:7:0", 7},
      {"  9:05:01 AM", "9:5:1", 12},
      {"11:59:59 p.m.", "23:59:59", 13},
      {"12:30:00 pm", "12:30:0", 11},
      {"12:30 a.m.", "0:30:0", 10},  // half past midnight
      {"12:00:00a", "0:0:0", 9},
      {"3:07:09a.", "3:7:9", 9},
      {"3:07 at noon", "3:7:0", 6},
      {"15:07 p", "15:7:0", 7},
      {"3:07 xyz", "3:7:0", 4},  // another letter ends the time
      {"3:07 +0100", "3:7:0", 4},
      {"3pm", nullptr, 0},  // no minute
      {"3:", nullptr, 0},
      {"3 :07", nullptr, 0},
      {":07", nullptr, 0},
      {"pm", nullptr, 0},
      {"", nullptr, 0},
      {"24:00", nullptr, 0},
      {"10:60", nullptr, 0},
      {"10:59:60", nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TimeOfDay time{1, 2, 3};
    const char* end = core::parse_time(c.text, time);
    if (c.time == nullptr) {
      EXPECT_EQ(end, nullptr);
      EXPECT_EQ(hms(time), "-1:-1:-1");
      continue;
    }
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(end - c.text, c.consumed);
    EXPECT_EQ(hms(time), c.time);
  }
  TimeOfDay time;
  EXPECT_EQ(core::parse_time(nullptr, time), nullptr);
}

TEST(ParseDateTime, DateTimeAndZone) {
  // Local time is one hour east of UTC.
  FixedClock clock(2026, 60);
  struct Case {
    const char* text;
    const char* date;  // year-month-day; 0-0-0 for none
    const char* time;
    int32_t consumed;
  } cases[] = {
      {"3/5/2006 14:07:09", "2006-3-5", "14:7:9", 17},
      {"March 5, 2006, 2:07:09 pm", "2006-3-5", "14:7:9", 25},
      {"Sunday, 5-Mar-06 2:07pm", "2006-3-5", "14:7:0", 23},
      {"March 2006 10:30", "2006-3-1", "10:30:0", 16},
      {"14:07", "0-0-0", "14:7:0", 5},
      {"3/5/2006 14:07 +0100", "2006-3-5", "14:7:0", 20},  // already local
      {"3/5/2006 12:00 +0000", "2006-3-5", "13:0:0", 20},  // UTC
      {"3/5/2006 23:30 -0100", "2006-3-6", "1:30:0", 20},  // into the next day
      {"3/5/2006 00:30 +0300", "2006-3-4", "22:30:0", 20},  // back into the day before
      {"1/1/2000 00:30 +0230", "1999-12-31", "23:0:0", 20},
      {"3/1/2000 0:15 +0800", "2000-2-29", "17:15:0", 19},
      {"23:30 -0100", "0-0-0", "1:30:0", 11},  // no date: the clock wraps round
      {"3/5/2006 14:07 + 0100", "2006-3-5", "14:7:0", 14},  // not a zone
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    DateTime value;
    const char* end = core::parse_date_time(c.text, value);
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(end - c.text, c.consumed);
    EXPECT_EQ(ymd(value.date), c.date);
    EXPECT_EQ(hms(value.time), c.time);
    if (value.date.month != 0) {
      EXPECT_TRUE(value.date.is_valid());
      EXPECT_EQ(value.date.day_number, core::day_number_of(value.date.month, value.date.day, value.date.year));
    }
  }
}

TEST(ParseDateTime, ATimeIsRequired) {
  FixedClock clock(2026);
  for (const char* text : {"3/5/2006", "March 5, 2006", "", "3/5/2006 25:00", "now"}) {
    DateTime value = core::now();
    EXPECT_EQ(core::parse_date_time(text, value), nullptr) << text;
    EXPECT_EQ(ymd(value.date), "0-0-0") << text;
    EXPECT_EQ(hms(value.time), "-1:-1:-1") << text;
  }
}

// ---- Ordering ----

FileTimeRecord record(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second) {
  FileTimeRecord r;
  r.year = year;
  r.month = month;
  r.day = day;
  r.hour = hour;
  r.minute = minute;
  r.second = second;
  return r;
}

TEST(Compare, FileTimes) {
  const FileTimeRecord base = record(2006, 3, 5, 14, 7, 9);
  const FileTimeRecord no_date = record(0, 0, 0, 14, 7, 9);
  const FileTimeRecord no_time = record(2006, 3, 5, -1, 0, 0);
  const FileTimeRecord midnight = record(2006, 3, 5, 0, 0, 0);
  struct Case {
    const char* label;
    FileTimeRecord a, b;
    int32_t result;
  } cases[] = {
      {"equal", base, base, 0},
      {"one second earlier", record(2006, 3, 5, 14, 7, 8), base, -1},
      {"one second later", record(2006, 3, 5, 14, 7, 10), base, 1},
      {"seconds give their difference", record(2006, 3, 5, 14, 7, 50), base, 41},
      {"minute", record(2006, 3, 5, 14, 6, 59), base, -1},
      {"hour", record(2006, 3, 5, 15, 0, 0), base, 1},
      {"day before a later time", record(2006, 3, 4, 23, 59, 59), base, -1},
      {"month before the day", record(2006, 2, 28, 0, 0, 0), base, -1},
      {"year before the month", record(2007, 1, 1, 0, 0, 0), base, 1},
      {"missing time after 00:00:00", no_time, midnight, 1},
      {"00:00:00 before a missing time", midnight, no_time, -1},
      {"a date before none", base, no_date, -1},
      {"no date after one", no_date, base, 1},
      {"both without a date: the times", no_date, record(0, 0, 0, 14, 7, 8), 1},
      {"cleared records", FileTimeRecord(), FileTimeRecord(), 0},
      {"cleared after a time alone", FileTimeRecord(), no_date, 1},
      {"the earliest day still sorts first", record(1, 1, 1, 0, 0, 0), FileTimeRecord(), -1},
  };
  for (const Case& c : cases) EXPECT_EQ(core::compare_file_times(c.a, c.b), c.result) << c.label;
  EXPECT_EQ(core::compare_file_times(record(0, 0, 0, 0, 0, INT32_MAX), record(0, 0, 0, 0, 0, -5)), INT32_MAX);
  EXPECT_FALSE(FileTimeRecord().has_date());
  EXPECT_FALSE(FileTimeRecord().has_time());
}

TEST(Compare, DatesAndDateTimes) {
  FixedClock clock(2026);
  auto date = [](int32_t m, int32_t d, int32_t y) {
    CalendarDate result;
    result.set_date(m, d, y);
    return result;
  };
  auto stamp = [&](int32_t m, int32_t d, int32_t y, TimeOfDay t) { return DateTime{date(m, d, y), t}; };
  const TimeOfDay none;
  struct DateCase {
    const char* label;
    CalendarDate a, b;
    int32_t result;
  } dates[] = {
      {"equal", date(3, 5, 2006), date(3, 5, 2006), 0},
      {"a day earlier", date(3, 4, 2006), date(3, 5, 2006), -1},
      {"across the calendar change", date(10, 4, 1582), date(10, 15, 1582), -1},
      {"later year", date(1, 1, 2007), date(12, 31, 2006), 1},
      {"invalid before valid", date(2, 31, 2006), date(1, 1, 1900), -1},
      {"valid after invalid", date(1, 1, 1900), CalendarDate(), 1},
      {"two invalid dates", date(2, 31, 2006), CalendarDate(), 0},
  };
  for (const DateCase& c : dates) EXPECT_EQ(core::compare_dates(c.a, c.b), c.result) << c.label;

  struct DateTimeCase {
    const char* label;
    DateTime a, b;
    int32_t result;
  } stamps[] = {
      {"equal", stamp(3, 5, 2006, {14, 7, 9}), stamp(3, 5, 2006, {14, 7, 9}), 0},
      {"date decides first", stamp(3, 4, 2006, {23, 0, 0}), stamp(3, 5, 2006, {1, 0, 0}), -1},
      {"second", stamp(3, 5, 2006, {14, 7, 10}), stamp(3, 5, 2006, {14, 7, 9}), 1},
      {"minute", stamp(3, 5, 2006, {14, 6, 59}), stamp(3, 5, 2006, {14, 7, 0}), -1},
      {"invalid time is midnight", stamp(3, 5, 2006, none), stamp(3, 5, 2006, {0, 0, 0}), 0},
      {"invalid time before later", stamp(3, 5, 2006, {25, 0, 0}), stamp(3, 5, 2006, {0, 0, 1}), -1},
      {"invalid dates: times decide", stamp(0, 0, 0, {10, 0, 0}), stamp(0, 0, 0, {9, 0, 0}), 1},
  };
  for (const DateTimeCase& c : stamps) EXPECT_EQ(core::compare_date_times(c.a, c.b), c.result) << c.label;
}

}  // namespace
