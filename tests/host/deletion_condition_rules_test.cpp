// The condition of a deletion rule on one file: dates with and without a time of day,
// sizes past 32 bits, values that are not dates.
#include "install/deletion_condition_rules.h"

#include <gtest/gtest.h>

namespace install {
namespace {

namespace cond = archive::deletion_condition;

// The condition read from a rule with this condition and value; false when unreadable.
bool read(uint8_t kind, const char* value, DeletionCondition& condition) {
  archive::FileDeletion rule;
  rule.condition = kind;
  rule.value = value;
  return read_deletion_condition(rule, condition);
}

core::FileTimeRecord at(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute) {
  return core::FileTimeRecord{year, month, day, hour, minute, 0};
}

TEST(DeletionConditionRules, Dates) {
  struct Case {
    const char* label;
    uint8_t condition;
    const char* value;
    core::FileTimeRecord modified;
    bool holds;
  };
  const Case cases[] = {
      {"equal day, no time in the value", cond::DateEqual, "3/5/2006", at(2006, 3, 5, 23, 59), true},
      {"other day", cond::DateEqual, "3/5/2006", at(2006, 3, 6, 0, 0), false},
      {"equal with a time: the time counts", cond::DateEqual, "3/5/2006 14:07", at(2006, 3, 5, 14, 8), false},
      {"equal to the second", cond::DateEqual, "3/5/2006 14:07", at(2006, 3, 5, 14, 7), true},
      {"on or after, same day earlier hour", cond::DateOnOrAfter, "March 5, 2006", at(2006, 3, 5, 0, 1), true},
      {"on or after, day before", cond::DateOnOrAfter, "2006-03-05", at(2006, 3, 4, 23, 59), false},
      {"on or after with a time, earlier that day", cond::DateOnOrAfter, "3/5/2006 2:00pm", at(2006, 3, 5, 13, 59),
       false},
      {"on or before, later day", cond::DateOnOrBefore, "3/5/2006", at(2006, 3, 6, 0, 0), false},
      {"on or before, earlier year", cond::DateOnOrBefore, "3/5/2006", at(1999, 12, 31, 12, 0), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    DeletionCondition condition;
    ASSERT_TRUE(read(c.condition, c.value, condition));
    EXPECT_EQ(deletion_condition_holds(condition, c.modified, 10), c.holds);
  }
}

TEST(DeletionConditionRules, ValuesThatAreNoDates) {
  for (const char* value : {"", "yesterday", "14:07", "2/31/2006", "13/1/2006"}) {
    SCOPED_TRACE(value);
    DeletionCondition condition;
    EXPECT_FALSE(read(cond::DateOnOrBefore, value, condition));
  }
}

TEST(DeletionConditionRules, Sizes) {
  const uint64_t five_gb = 5ull << 30;
  struct Case {
    const char* label;
    uint8_t condition;
    const char* value;
    uint64_t size;
    bool holds;
  };
  const Case cases[] = {
      {"equal", cond::SizeEqual, "1,024", 1024, true},
      {"not equal", cond::SizeEqual, "1024", 1023, false},
      {"at least 0: every file", cond::SizeAtLeast, "0", 0, true},
      {"at most 0: only empty files", cond::SizeAtMost, "0", 1, false},
      {"at most 0, empty", cond::SizeAtMost, "0", 0, true},
      {"past 4 GB, value in 64 bits", cond::SizeEqual, "5368709120", five_gb, true},
      {"past 4 GB is not small", cond::SizeAtMost, "1048576", five_gb, false},
      {"a 5 GB file is at least 3 GB", cond::SizeAtLeast, "3221225472", five_gb, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    DeletionCondition condition;
    ASSERT_TRUE(read(c.condition, c.value, condition));
    EXPECT_EQ(deletion_condition_holds(condition, at(2006, 1, 1, 0, 0), c.size), c.holds);
  }
}

TEST(DeletionConditionRules, OtherConditionsAlwaysHold) {
  for (uint8_t kind : {uint8_t{0}, uint8_t{7}, uint8_t{255}}) {
    DeletionCondition condition;
    ASSERT_TRUE(read(kind, "not looked at", condition));
    EXPECT_TRUE(deletion_condition_holds(condition, core::FileTimeRecord(), 0));
  }
}

}  // namespace
}  // namespace install
