// Tests of the date and time format token language, the default and display formats, and
// reading formatted dates back.
#include "core/date_format.h"

#include <gtest/gtest.h>
#include <stdint.h>

#include <string>

#include "core/date_parse.h"
#include "support/fixed_clock.h"

namespace {

using core::CalendarDate;
using core::DateTime;
using core::TimeOfDay;
using test_support::FixedClock;

DateTime stamp(int32_t month, int32_t day, int32_t year, int32_t hour, int32_t minute, int32_t second) {
  DateTime value;
  value.date.set_date(month, day, year);
  value.time = TimeOfDay{hour, minute, second};
  return value;
}

TEST(FormatDateTime, EveryToken) {
  FixedClock clock(2026, -300);
  const DateTime sunday = stamp(3, 5, 2006, 14, 7, 9);  // Sunday 5 March 2006
  struct Case {
    const char* format;
    const char* text;
  } cases[] = {
      {"m/d/y h:ii:ssap", "3/5/06 2:07:09p"},
      {"d-M-yy h:ii:ssap", "5-Mar-2006 2:07:09p"},
      {"HH:ii:ss", "14:07:09"},
      {"d dd", "5 05"},
      {"D, DD", "5th, Fifth"},
      {"m mm M MM", "3 03 Mar March"},
      {"y|yy|yyy", "06|2006|200606"},
      {"Y", "Oh Sixth"},
      {"YY", "Two Thousand Sixth"},
      {"w ww W WW", "1 01 Sun Sunday"},
      {"Q QQ", "Q1 Q1Q1"},
      {"H HH h hh", "14 14 2 02"},
      {"i ii s ss", "7 07 9 09"},
      {"ap AP", "p p.m."},
      {"b", "-0500"},
      {"A a aP Ap Ax", "A a aP Ap Ax"},  // only ap and AP are tokens
      {"[%c] _-/:.,+ 0123 xz", "[%c] _-/:.,+ 0123 xz"},
      {"", "3/5/06 2:07:09p"},  // the default format
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::string(core::format_date_time(sunday, c.format).text()), c.text) << c.format;
  }
  EXPECT_EQ(std::string(core::format_date_time(sunday, nullptr).text()), "3/5/06 2:07:09p");
}

TEST(FormatDateTime, ValuesThatChangeTheirTokens) {
  struct Case {
    DateTime value;
    int32_t offset;  // the local zone, minutes east of UTC
    const char* format;
    const char* text;
  } cases[] = {
      {stamp(12, 7, 2026, 11, 56, 43), 0, "d-M-yy h:ii:ssap", "7-Dec-2026 11:56:43a"},
      {stamp(1, 1, 2000, 0, 5, 0), 0, "h hh ap AP", "12 12 a a.m."},  // midnight
      {stamp(1, 1, 2000, 12, 0, 0), 0, "h ap AP", "12 p p.m."},        // noon
      {stamp(1, 1, 2000, 23, 0, 0), 0, "h hh ap", "11 11 p"},
      {stamp(1, 1, 2000, 11, 0, 0), 0, "h ap", "11 a"},
      {stamp(1, 1, 2000, 0, 0, 0), 0, "D DD Y y", "1st First Oh Zeroth 00"},
      {stamp(2, 2, 2010, 0, 0, 0), 0, "D DD Y Q", "2nd Second Tenth Q1"},
      {stamp(4, 3, 2026, 0, 0, 0), 0, "D DD Y Q", "3rd Third Twenty Sixth Q2"},
      {stamp(9, 11, 1999, 0, 0, 0), 0, "D DD Q", "11th Eleventh Q3"},
      {stamp(10, 22, 1999, 0, 0, 0), 0, "D DD Q", "22nd Twenty Second Q4"},
      {stamp(12, 31, 1999, 0, 0, 0), 0, "D Q W", "31st Q4 Fri"},
      {stamp(6, 15, 2026, 0, 0, 0), 330, "b", "+0530"},
      {stamp(6, 15, 2026, 0, 0, 0), 0, "b", "+0000"},
      {stamp(6, 15, 2026, 0, 0, 0), -570, "b", "-0930"},
      {stamp(12, 25, -44, 0, 0, 0), 0, "d/m/yy y", "25/12/-044 44"},
  };
  for (const Case& c : cases) {
    FixedClock clock(2026, c.offset);
    EXPECT_EQ(std::string(core::format_date_time(c.value, c.format).text()), c.text) << c.format << " -> " << c.text;
  }
}

TEST(FormatDate, DateOrTimeTokensOnly) {
  FixedClock clock(2026);
  const DateTime value = stamp(3, 5, 2006, 14, 7, 9);
  struct Case {
    const char* format;
    const char* date_text;  // format_date
    const char* time_text;  // format_time
  } cases[] = {
      {"m/d/y h:ii:ssap", "3/5/06 h:ii:ssap", "m/d/y 2:07:09p"},
      {"WW, MM D yy", "Sunday, March 5th 2006", "WW, MM D yy"},
      {"HH:ii b AP Q", "HH:ii b AP Q1", "14:07 +0000 p.m. Q"},
      {nullptr, "3/5/06", "2:07:09p"},
      {"", "3/5/06", "2:07:09p"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format ? c.format : "(null)");
    EXPECT_EQ(std::string(core::format_date(value.date, c.format).text()), c.date_text);
    EXPECT_EQ(std::string(core::format_time(value.time, c.format).text()), c.time_text);
  }
}

TEST(FormatDateTime, DisplayTextShowsTheValidParts) {
  FixedClock clock(2026);
  struct Case {
    const char* label;
    DateTime value;
    const char* text;
  } cases[] = {
      {"both", stamp(3, 5, 2006, 14, 7, 9), "3/5/2006 14:07:09"},
      {"date only", stamp(3, 5, 2006, -1, -1, -1), "3/5/2006"},
      {"invalid time", stamp(3, 5, 2006, 24, 0, 0), "3/5/2006"},
      {"time only", stamp(0, 0, 0, 9, 5, 0), "09:05:00"},
      {"invalid date", stamp(2, 31, 2006, 9, 5, 0), "09:05:00"},
      {"neither", DateTime(), ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::string(core::date_time_display_text(c.value).text()), c.text) << c.label;
  }
}

TEST(FormatDateTime, FormattedTextsReadBack) {
  // Every hour of a day written in the default and the display formats, and in one with
  // names, parses back to the same date and time (12 a.m. is midnight both ways).
  FixedClock clock(2026);
  for (const char* format : {core::default_date_time_format, core::date_time_display_format,
                             "WW, MM D, yy h:ii:ss AP", "d-M-yy h:ii:ssap"}) {
    for (int32_t hour = 0; hour < 24; ++hour) {
      const DateTime value = stamp(2, 28, 2024, hour, 59, 1);
      core::String text = core::format_date_time(value, format);
      DateTime back;
      const char* end = core::parse_date_time(text.text(), back);
      ASSERT_NE(end, nullptr) << text.text();
      EXPECT_EQ(*end, '\0') << text.text();
      EXPECT_EQ(core::compare_date_times(back, value), 0) << text.text();
      EXPECT_EQ(back.time.hour, hour) << text.text();
    }
  }
}

}  // namespace
