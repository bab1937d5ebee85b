// One extra value of the product's uninstall key, as the settings store it.
#pragma once

#include <stdint.h>

#include "core/string.h"

namespace archive {

// How the value is written; any other type writes a plain text.
namespace uninstall_value_type {
inline constexpr uint8_t Text = 1;
inline constexpr uint8_t ExpandableText = 2;  // REG_EXPAND_SZ
inline constexpr uint8_t Number = 4;          // the data as an integer, REG_DWORD
}  // namespace uninstall_value_type

// One value, fields in stream order: text, u8, text. Empty data deletes the value.
struct UninstallData {
  core::String name;
  uint8_t type = uninstall_value_type::Text;
  core::String data;  // directory variables allowed

  bool operator==(const UninstallData&) const = default;
};

// The record's fields in stream order, for reading and writing alike.
template <class Io>
void transfer(Io& io, UninstallData& record) {
  io.text(record.name);
  io.u8(record.type);
  io.text(record.data);
}

// The smallest stored record: two empty texts and the type.
inline constexpr int32_t kMinUninstallDataBytes = 3;

}  // namespace archive
