// The condition of a deletion rule on one file: its date or its size against the rule's
// value, on values alone.
#pragma once

#include <stdint.h>

#include "archive/deletion_rule.h"
#include "core/calendar.h"
#include "core/file_time.h"

namespace install {

// A rule's condition with its value read.
struct DeletionCondition {
  uint8_t kind = archive::deletion_condition::None;
  core::DateTime date;  // date conditions; the time counts only when it is valid
  int64_t size = 0;     // size conditions, 64-bit so files past 2 GB compare right
};

// Reads the rule's value for its condition. False when a date condition's value does not
// start with a valid date (the archive is damaged); size values read as numbers.
bool read_deletion_condition(const archive::FileDeletion& rule, DeletionCondition& condition);

// True when a file last written at `modified` (local time) with `size` bytes meets the
// condition; a condition outside 1..6 always holds.
bool deletion_condition_holds(const DeletionCondition& condition, const core::FileTimeRecord& modified,
                              uint64_t size);

}  // namespace install
