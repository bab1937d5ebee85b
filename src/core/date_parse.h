// Reading dates, times of day and date-times from text ("March 5, 2006", "5-Mar-06",
// "3/5/2006", "2006-03-05", "3:07:09pm", "3/5/2006 14:07 -0500").
#pragma once

#include "core/calendar.h"

namespace core {

// Reads a date from text (null counts as empty): an optional weekday name, then either a
// month name with a day and a year ("March 5th, 2006"; "March 2006" is its first day), or
// numbers ("3/5/2006", "5-Mar-2006", "2006-03-05", "3/2006"; month first unless day_first).
// A year of two digits is expanded against the current year. Returns the position after
// the date (the date may still be invalid, as 2/31/2006 is), or null with the date cleared
// when the text does not start with a date.
const char* parse_date(const char* text, bool day_first, CalendarDate& date);

// Reads a time of day: hour ':' minute, optionally ':' second, optionally a marker "a",
// "am", "a.m.", "p", "pm" or "p.m." (case ignored): p adds 12 to an hour below 12, a makes
// 12 into 0. Returns the position after the time, or null with the time cleared when there
// is no hour, colon and minute or the time is invalid.
const char* parse_time(const char* text, TimeOfDay& time);

// Reads an optional date (month first), one optional ',' and a required time, then an
// optional zone "+HHMM" or "-HHMM": a stamped time is moved into local time (carrying into
// the date when there is one). Returns the position after what was read, or null with both
// parts cleared when there is no time.
const char* parse_date_time(const char* text, DateTime& value);

}  // namespace core
