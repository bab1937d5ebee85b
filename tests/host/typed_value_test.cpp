// The typed value: kinds, widening, and the integer, flag and text forms.
#include "core/typed_value.h"

#include <gtest/gtest.h>

#include <string>

namespace core {
namespace {

std::string text_of(const String& text) { return std::string(text.text(), static_cast<size_t>(text.length())); }

DateTime date(int32_t year, int32_t month, int32_t day, int32_t hour = -1, int32_t minute = -1, int32_t second = -1) {
  DateTime d;
  d.date.set_date(month, day, year);
  d.time.hour = hour;
  d.time.minute = minute;
  d.time.second = second;
  return d;
}

TEST(TypedValue, Conversions) {
  struct Case {
    const char* label;
    TypedValue value;
    ValueKind kind;
    int64_t integer;
    bool flag;
    const char* text;
    bool zero_or_empty;
  };
  const Case cases[] = {
      {"empty", TypedValue(), ValueKind::Empty, 0, false, "", true},
      {"true", TypedValue::from_bool(true), ValueKind::Bool, 1, true, "1", false},
      {"false", TypedValue::from_bool(false), ValueKind::Bool, 0, false, "0", true},
      {"signed 8-bit sign-extends", TypedValue::from_integer(ValueKind::Int8, 0xFF), ValueKind::Int8, -1, true, "-1",
       false},
      {"unsigned 8-bit zero-extends", TypedValue::from_integer(ValueKind::UInt8, -1), ValueKind::UInt8, 255, true,
       "255", false},
      {"signed 16-bit", TypedValue::from_integer(ValueKind::Int16, 0x18000), ValueKind::Int16, -32768, true,
       "-32768", false},
      {"unsigned 32-bit", TypedValue::from_integer(ValueKind::UInt32, -2), ValueKind::UInt32, 4294967294LL, true,
       "4294967294", false},
      {"second unsigned 32-bit kind", TypedValue::from_integer(ValueKind::UInt32Other, 7), ValueKind::UInt32Other, 7,
       true, "7", false},
      {"signed 32-bit", TypedValue::from_int32(-2147483647 - 1), ValueKind::Int32, -2147483647LL - 1, true,
       "-2147483648", false},
      {"signed 64-bit minimum", TypedValue::from_integer(ValueKind::Int64, INT64_MIN), ValueKind::Int64, INT64_MIN,
       true, "-9223372036854775808", false},
      {"unsigned 64-bit maximum", TypedValue::from_integer(ValueKind::UInt64, -1), ValueKind::UInt64, -1, true,
       "18446744073709551615", false},
      {"real", TypedValue::from_real(2.5), ValueKind::Real64, 2, true, "2.5", false},
      {"whole real", TypedValue::from_real(5.0), ValueKind::Real64, 5, true, "5", false},
      {"single real", TypedValue::from_real(0.5, true), ValueKind::Real32, 0, true, "0.5", false},
      {"zero real", TypedValue::from_real(0.0), ValueKind::Real64, 0, false, "0", true},
      {"text number", TypedValue::from_text("Version 1,234"), ValueKind::Text, 1234, true, "Version 1,234", false},
      {"text no", TypedValue::from_text(" no "), ValueKind::Text, 0, false, " no ", false},
      {"empty text", TypedValue::from_text(""), ValueKind::Text, 0, false, "", true},
      {"null text", TypedValue::from_text(nullptr), ValueKind::Text, 0, false, "", true},
      {"date", TypedValue::from_date(ValueKind::Date, date(2006, 3, 5, 14, 7, 9)), ValueKind::Date, 0, false,
       "3/5/2006", false},
      {"time", TypedValue::from_date(ValueKind::Time, date(2006, 3, 5, 14, 7, 9)), ValueKind::Time, 0, false,
       "14:07:09", false},
      {"date and time", TypedValue::from_date(ValueKind::DateTime, date(2006, 3, 5, 4, 7, 9)), ValueKind::DateTime,
       0, false, "3/5/2006 04:07:09", false},
      {"date and time, time invalid", TypedValue::from_date(ValueKind::DateTime, date(2000, 2, 29, 24, 0, 0)),
       ValueKind::DateTime, 0, false, "2/29/2000", false},
      {"date and time, date invalid", TypedValue::from_date(ValueKind::DateTime, date(1900, 2, 29, 0, 0, 0)),
       ValueKind::DateTime, 0, false, "00:00:00", false},
      {"Julian leap year", TypedValue::from_date(ValueKind::Date, date(1500, 2, 29)), ValueKind::Date, 0, false,
       "2/29/1500", false},
      {"unset date", TypedValue::from_date(ValueKind::Date, DateTime()), ValueKind::Date, 0, false, "", true},
      {"not a date kind", TypedValue::from_date(ValueKind::Text, date(2006, 3, 5)), ValueKind::Empty, 0, false, "",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(c.value.kind(), c.kind);
    EXPECT_EQ(c.value.as_int64(), c.integer);
    EXPECT_EQ(c.value.as_int(), static_cast<int32_t>(c.integer));
    EXPECT_EQ(c.value.as_bool(), c.flag);
    EXPECT_EQ(text_of(c.value.as_text()), c.text);
    EXPECT_EQ(c.value.is_zero_or_empty(), c.zero_or_empty);
  }
}

TEST(TypedValue, BytesAndFillingInPlace) {
  TypedValue value = TypedValue::from_bytes("a\0b", 3);
  EXPECT_EQ(text_of(value.as_text()), std::string("a\0b", 3));
  TypedValue number = TypedValue::from_int32(9);
  number.text_for_writing().append("x", 1);
  EXPECT_EQ(number.kind(), ValueKind::Text);
  EXPECT_EQ(text_of(number.text()), "x");
  number.clear();
  EXPECT_TRUE(number.is_empty());
}

}  // namespace
}  // namespace core
