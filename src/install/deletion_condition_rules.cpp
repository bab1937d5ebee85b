// The condition of a deletion rule on one file.
#include "install/deletion_condition_rules.h"

#include "core/date_parse.h"
#include "core/string.h"

namespace install {

namespace cond = archive::deletion_condition;

namespace {

bool is_date_condition(uint8_t kind) { return kind >= cond::DateEqual && kind <= cond::DateOnOrBefore; }
bool is_size_condition(uint8_t kind) { return kind >= cond::SizeEqual && kind <= cond::SizeAtMost; }

// A date with a time of day, or a date alone.
bool read_date_value(const char* text, core::DateTime& value) {
  if (core::parse_date_time(text, value) != nullptr && value.date.is_valid()) return true;
  value.clear();
  if (core::parse_date(text, false, value.date) == nullptr || !value.date.is_valid()) return false;
  return true;
}

core::DateTime date_time_of(const core::FileTimeRecord& record) {
  core::DateTime value;
  if (record.has_date()) value.date.set_date(record.month, record.day, record.year);
  if (record.has_time()) value.time = core::TimeOfDay{record.hour, record.minute, record.second};
  return value;
}

// Whether the file's order against the value (negative, 0, positive: below, equal, above)
// meets the condition.
bool holds_by_order(uint8_t kind, int32_t order) {
  switch (kind) {
    case cond::DateEqual:
    case cond::SizeEqual:
      return order == 0;
    case cond::DateOnOrAfter:
    case cond::SizeAtLeast:
      return order >= 0;
    case cond::DateOnOrBefore:
    case cond::SizeAtMost:
      return order <= 0;
    default:
      return true;
  }
}

}  // namespace

bool read_deletion_condition(const archive::FileDeletion& rule, DeletionCondition& condition) {
  condition = DeletionCondition();
  condition.kind = rule.condition;
  if (is_date_condition(rule.condition)) return read_date_value(rule.value.text(), condition.date);
  if (is_size_condition(rule.condition)) condition.size = core::to_int64(rule.value);
  return true;
}

bool deletion_condition_holds(const DeletionCondition& condition, const core::FileTimeRecord& modified,
                              uint64_t size) {
  int32_t order = 0;
  if (is_date_condition(condition.kind)) {
    core::DateTime file = date_time_of(modified);
    order = condition.date.time.is_valid() ? core::compare_date_times(file, condition.date)
                                           : core::compare_dates(file.date, condition.date.date);
  } else if (is_size_condition(condition.kind)) {
    int64_t file_size = static_cast<int64_t>(size);
    order = file_size < condition.size ? -1 : (file_size > condition.size ? 1 : 0);
  }
  return holds_by_order(condition.kind, order);
}

}  // namespace install
