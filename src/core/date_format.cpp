// The format token language for dates and times.
#include "core/date_format.h"

namespace core {

namespace {

// Which tokens a call knows; letters of the others are copied.
enum TokenGroups : uint32_t { DateTokens = 1, TimeTokens = 2 };

// "%d", or "%02d" for a doubled token.
void append_number(String& out, bool doubled, int32_t value) {
  if (doubled) {
    out.append_format("%02d", static_cast<int>(value));
  } else {
    out.append_format("%d", static_cast<int>(value));
  }
}

int32_t twelve_hour(int32_t hour) {
  if (hour == 0) return 12;
  if (hour >= 13 && hour <= 23) return hour - 12;
  return hour;
}

// The last two digits of a year, before year 1 too.
int32_t two_digit_year(int32_t year) { return year < 0 ? (-(year % 100)) : year % 100; }

String format_with(const CalendarDate& date, const TimeOfDay& time, const char* format, uint32_t groups) {
  String out;
  const bool dates = (groups & DateTokens) != 0;
  const bool times = (groups & TimeTokens) != 0;
  for (const char* p = format; *p != '\0';) {
    const char c = *p;
    const bool doubled = p[1] == c;
    // Most tokens: one letter, or two when doubled.
    const char* next = p + (doubled ? 2 : 1);
    bool handled = true;
    if (dates && c == 'd') {
      append_number(out, doubled, date.day);
    } else if (dates && c == 'D') {
      out.append(doubled ? ordinal_word(date.day) : ordinal(date.day));
    } else if (dates && c == 'm') {
      append_number(out, doubled, date.month);
    } else if (dates && c == 'M') {
      out.append(doubled ? month_name(date.month) : short_month_name(date.month));
    } else if (dates && c == 'y') {
      if (doubled) {
        out.append_format("%04d", static_cast<int>(date.year));
      } else {
        out.append_format("%02d", static_cast<int>(two_digit_year(date.year)));
      }
    } else if (dates && c == 'Y') {
      if (doubled) {
        out.append(ordinal_word(date.year));
      } else {
        int32_t last = two_digit_year(date.year);
        if (last < 10) out.append("Oh ");
        out.append(ordinal_word(last));
      }
    } else if (dates && c == 'w') {
      append_number(out, doubled, date.weekday);
    } else if (dates && c == 'W') {
      out.append(doubled ? weekday_name(date.weekday) : short_weekday_name(date.weekday));
    } else if (dates && c == 'Q') {
      out.append_format("Q%d", static_cast<int>((date.month - 1) / 3 + 1));
      next = p + 1;
    } else if (times && c == 'H') {
      append_number(out, doubled, time.hour);
    } else if (times && c == 'h') {
      append_number(out, doubled, twelve_hour(time.hour));
    } else if (times && c == 'i') {
      append_number(out, doubled, time.minute);
    } else if (times && c == 's') {
      append_number(out, doubled, time.second);
    } else if (times && c == 'a' && p[1] == 'p') {
      out.append(time.hour < 12 ? "a" : "p");
      next = p + 2;
    } else if (times && c == 'A' && p[1] == 'P') {
      out.append(time.hour < 12 ? "a.m." : "p.m.");
      next = p + 2;
    } else if (times && c == 'b') {
      int32_t offset = utc_offset_minutes();
      int32_t size = offset < 0 ? -offset : offset;
      out.append_format("%c%02d%02d", offset < 0 ? '-' : '+', static_cast<int>(size / 60), static_cast<int>(size % 60));
      next = p + 1;
    } else {
      handled = false;
    }
    if (!handled) {
      out.append(c);
      next = p + 1;
    }
    p = next;
  }
  return out;
}

const char* or_default(const char* format, const char* fallback) {
  return format == nullptr || *format == '\0' ? fallback : format;
}

}  // namespace

String format_date(const CalendarDate& date, const char* format) {
  return format_with(date, TimeOfDay(), or_default(format, default_date_format), DateTokens);
}

String format_date_time(const DateTime& value, const char* format) {
  return format_with(value.date, value.time, or_default(format, default_date_time_format), DateTokens | TimeTokens);
}

String format_time(const TimeOfDay& time, const char* format) {
  return format_with(CalendarDate(), time, or_default(format, default_time_format), TimeTokens);
}

String date_time_display_text(const DateTime& value) {
  const bool has_date = value.date.is_valid();
  const bool has_time = value.time.is_valid();
  if (has_date && has_time) return format_date_time(value, date_time_display_format);
  if (has_date) return format_date(value.date, date_display_format);
  if (has_time) return format_time(value.time, time_display_format);
  return String();
}

}  // namespace core
