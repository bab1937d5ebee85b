// Reading dates, times of day and date-times from text.
#include "core/date_parse.h"

namespace core {

namespace {

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool is_separator(char c) { return c == '/' || c == '.' || c == '-'; }
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

const char* skip_space(const char* p) {
  while (is_space(*p)) ++p;
  return p;
}

// The decimal digits at p (none: 0), stopping at INT32_MAX rather than overflowing.
int32_t read_number(const char*& p) {
  int64_t value = 0;
  while (is_digit(*p)) {
    value = value * 10 + (*p - '0');
    if (value > INT32_MAX) value = INT32_MAX;
    ++p;
  }
  return static_cast<int32_t>(value);
}

// The length of name when text starts with it, case ignored; else 0.
int32_t starts_with_name(const char* text, const char* name) {
  int32_t i = 0;
  for (; name[i]; ++i) {
    if (lower(text[i]) != lower(name[i])) return 0;
  }
  return i;
}

// The index (1-based) of the name, full or short, that text starts with, advancing past
// it; 0 when none matches.
int32_t read_name(const char*& p, const char* (*full)(int32_t), const char* (*shortened)(int32_t), int32_t count) {
  for (int32_t i = 1; i <= count; ++i) {
    if (int32_t length = starts_with_name(p, full(i))) {
      p += length;
      return i;
    }
  }
  for (int32_t i = 1; i <= count; ++i) {
    if (int32_t length = starts_with_name(p, shortened(i))) {
      p += length;
      return i;
    }
  }
  return 0;
}

int32_t read_month_name(const char*& p) { return read_name(p, month_name, short_month_name, 12); }

const char* fail_date(CalendarDate& date) {
  date.clear();
  return nullptr;
}

// After a month name: the day, and then the year; "March 2006" (or "March 2006 10:30")
// has no day, and its number is the year.
const char* read_day_and_year(const char* p, int32_t& day, int32_t& year) {
  p = skip_space(p);
  day = read_number(p);
  if (day == 0) return nullptr;
  // Ordinal suffixes; "nd" too, or "March 2nd, 2006" would lose its day.
  if ((p[0] == 't' && p[1] == 'h') || (p[0] == 's' && p[1] == 't') || (p[0] == 'r' && p[1] == 'd') ||
      (p[0] == 'n' && p[1] == 'd')) {
    p += 2;
  }
  if (*p == ',') ++p;
  p = skip_space(p);
  const char* year_start = p;
  year = read_number(p);
  if (year <= 0 || *p == ':') {
    year = day;
    day = 1;
    return year_start;
  }
  return p;
}

}  // namespace

const char* parse_date(const char* text, bool day_first, CalendarDate& date) {
  date.clear();
  if (text == nullptr) return nullptr;
  const char* p = skip_space(text);
  if (is_letter(*p) && read_name(p, weekday_name, short_weekday_name, 7) != 0) {
    if (*p == ',') ++p;
    p = skip_space(p);
  }

  int32_t month = 0;
  int32_t day = 0;
  int32_t year = 0;
  if (is_letter(*p)) {
    month = read_month_name(p);
    if (month == 0) return fail_date(date);
    p = read_day_and_year(p, day, year);
    if (p == nullptr) return fail_date(date);
  } else if (is_digit(*p)) {
    int32_t a = read_number(p);
    if (a == 0) return fail_date(date);
    const char* q = skip_space(p);
    bool separated = is_separator(*q);
    if (separated) q = skip_space(q + 1);
    if (is_letter(*q)) {
      // "5-Mar-2006", "5 March 2006".
      day = a;
      month = read_month_name(q);
      if (month == 0) return fail_date(date);
      q = skip_space(q);
      if (is_separator(*q)) q = skip_space(q + 1);
      year = read_number(q);
      p = q;
    } else {
      if (!separated) return fail_date(date);
      int32_t b = read_number(q);
      if (b == 0) return fail_date(date);
      p = q;
      q = skip_space(q);
      if (is_separator(*q)) {
        q = skip_space(q + 1);
        int32_t t = read_number(q);
        p = q;
        if (a > 1000 && t < 32) {
          // Year first: "2006-03-05", whichever order the other two would take.
          year = a;
          month = b;
          day = t;
        } else {
          month = day_first ? b : a;
          day = day_first ? a : b;
          year = t;
        }
      } else {
        // "3/2006": the first day of that month.
        month = a;
        day = 1;
        year = b;
      }
    }
  } else {
    return fail_date(date);
  }
  date.set_date(month, day, year);
  return p;
}

const char* parse_time(const char* text, TimeOfDay& time) {
  time.clear();
  if (text == nullptr) return nullptr;
  const char* p = skip_space(text);
  if (!is_digit(*p)) return nullptr;
  int32_t hour = read_number(p);
  if (*p != ':' || !is_digit(p[1])) return nullptr;
  ++p;
  int32_t minute = read_number(p);
  int32_t second = 0;
  const char* q = skip_space(p);
  if (*q == ':') {
    ++q;
    second = read_number(q);
    p = q;
    q = skip_space(q);
  }
  char marker = lower(*q);
  if (marker == 'a' || marker == 'p') {
    // 12 a.m. is midnight: the clock that writes "12:05:00a" for 00:05 reads it back so.
    if (marker == 'a' && hour == 12) hour = 0;
    if (marker == 'p' && hour < 12) hour += 12;
    ++q;
    if (*q == '.') ++q;
    if (lower(*q) == 'm') ++q;
    if (*q == '.') ++q;
    p = q;
  }
  TimeOfDay result{hour, minute, second};
  if (!result.is_valid()) return nullptr;
  time = result;
  return p;
}

const char* parse_date_time(const char* text, DateTime& value) {
  value.clear();
  if (text == nullptr) return nullptr;
  const char* p = parse_date(text, false, value.date);
  if (p == nullptr) {
    p = text;
  } else if (*p == ',') {
    ++p;
  }
  p = parse_time(p, value.time);
  if (p == nullptr) {
    value.clear();
    return nullptr;
  }

  const char* q = skip_space(p);
  if ((*q != '+' && *q != '-') || !is_digit(q[1])) return p;
  bool west = *q == '-';
  ++q;
  int32_t stamp = read_number(q);
  int64_t stamp_offset = static_cast<int64_t>(stamp / 100) * 60 + stamp % 100;
  if (west) stamp_offset = -stamp_offset;
  // Local = stamped - stamp's offset + local offset; an explicit +0000 (UTC) moves too.
  int64_t minutes = static_cast<int64_t>(value.time.hour) * 60 + value.time.minute + utc_offset_minutes() - stamp_offset;
  int64_t days = minutes / 1440;
  minutes %= 1440;
  if (minutes < 0) {
    minutes += 1440;
    days -= 1;
  }
  value.time.hour = static_cast<int32_t>(minutes / 60);
  value.time.minute = static_cast<int32_t>(minutes % 60);
  // Without a date the time just wraps round the clock.
  if (days != 0 && value.date.day_number != 0) {
    int64_t moved = value.date.day_number + days;
    if (moved != 0 && moved >= INT32_MIN && moved <= INT32_MAX) value.date.set_day_number(static_cast<int32_t>(moved));
  }
  return q;
}

}  // namespace core
