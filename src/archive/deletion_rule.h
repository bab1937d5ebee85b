// One deletion rule of the settings: the patterns of the files to delete and the
// condition those files must meet.
#pragma once

#include <stdint.h>

#include "core/string.h"

namespace archive {

// The condition a matching file must meet to be deleted; other stored values mean none.
namespace deletion_condition {
inline constexpr uint8_t None = 0;
inline constexpr uint8_t DateEqual = 1;       // value: a date-time text
inline constexpr uint8_t DateOnOrAfter = 2;
inline constexpr uint8_t DateOnOrBefore = 3;
inline constexpr uint8_t SizeEqual = 4;       // value: a size in bytes
inline constexpr uint8_t SizeAtLeast = 5;
inline constexpr uint8_t SizeAtMost = 6;
}  // namespace deletion_condition

// Bits of a rule's flag word.
namespace deletion_flag {
inline constexpr int32_t DeleteAtRestart = 0x2;  // a busy file is deleted at the next restart
}  // namespace deletion_flag

// The text that ends the stored list of rules (compared exactly, with case).
inline constexpr char kDeletionListEnd[] = "~~THE END~~";

// One rule, fields in stream order: text, u8, text, i32.
struct FileDeletion {
  core::String specification;  // files to delete; directory variables allowed
  uint8_t condition = deletion_condition::None;
  core::String value;          // date-time text or size, by condition
  int32_t flags = 0;

  bool operator==(const FileDeletion&) const = default;
};

// The fields after the file pattern, in stream order (the rule list reads the
// pattern itself first, to spot its end).
template <class Io>
void transfer_condition(Io& io, FileDeletion& rule) {
  io.u8(rule.condition);
  io.text(rule.value);
  io.i32(rule.flags);
}

}  // namespace archive
