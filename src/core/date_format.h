// Writing dates and times with the format token language ("m/d/y h:ii:ssap",
// "d-M-yy", "WW, MM D", ...).
#pragma once

#include "core/calendar.h"
#include "core/string.h"

namespace core {

// The library-wide default formats (3/5/06, 3/5/06 2:07:09p, 2:07:09p).
inline constexpr const char* default_date_format = "m/d/y";
inline constexpr const char* default_date_time_format = "m/d/y h:ii:ssap";
inline constexpr const char* default_time_format = "h:ii:ssap";

// How typed values show their dates and times (3/5/2006, 14:07:09, 3/5/2006 14:07:09).
inline constexpr const char* date_display_format = "m/d/yy";
inline constexpr const char* time_display_format = "HH:ii:ss";
inline constexpr const char* date_time_display_format = "m/d/yy HH:ii:ss";

// Format tokens, read left to right; a doubled letter is one token, every other character
// is copied:
//   d dd       day, 5 or 05          D DD   day as 5th or Fifth
//   m mm       month, 3 or 03        M MM   month name, Mar or March
//   y          year, last two digits (06)  yy  year, four digits (2006)
//   Y          last two digits in words ("Oh Sixth")  YY  year in words
//   w ww       weekday 1..7, 1 or 01 W WW   weekday name, Sun or Sunday
//   Q          quarter, Q1..Q4
//   H HH       hour 0..23, 9 or 09   h hh   hour 1..12 (0 shows as 12)
//   i ii       minute                s ss   second
//   ap         a or p                AP     a.m. or p.m.
//   b          the local zone's offset from UTC, +0100 or -0500
// A lone a or A is copied as a letter.

// The date written with the date tokens (time letters are copied); a null or empty format
// is default_date_format.
String format_date(const CalendarDate& date, const char* format);

// The date and time written with all tokens; a null or empty format is
// default_date_time_format.
String format_date_time(const DateTime& value, const char* format);

// The time written with the time tokens (date letters are copied); a null or empty format
// is default_time_format.
String format_time(const TimeOfDay& time, const char* format);

// A date-time as typed values show it: "m/d/yy HH:ii:ss" when both parts are valid, only
// the valid part when the other is not, empty when neither is.
String date_time_display_text(const DateTime& value);

}  // namespace core
