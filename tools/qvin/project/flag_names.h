// Readable names for the bits of the two settings flag words and for other stored codes;
// the values are the archive library's.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace qvin {

// One named bit: `word` 1 is `flags`, 2 is `flags2`.
struct FlagName {
  std::string_view name;
  int word;
  uint32_t bit;
};

// Every defined bit of both words, `flags` first, in bit order.
std::span<const FlagName> flag_names();

// The entry of that name, or nullopt.
std::optional<FlagName> find_flag(std::string_view name);

// A stored code and its name (destination kinds, existence modes, conditions...).
struct CodeName {
  std::string_view name;
  uint32_t code;
};

std::span<const CodeName> destination_kind_names();
std::span<const CodeName> existence_names();
std::span<const CodeName> deletion_condition_names();
std::span<const CodeName> uninstall_value_type_names();
std::span<const CodeName> title_position_names();
std::span<const CodeName> stretch_mode_names();
std::span<const CodeName> system_class_names();  // bits of `excluded_systems`
std::span<const CodeName> attribute_names();     // file attribute bits
std::span<const CodeName> shortcut_mode_names();
std::span<const CodeName> data_placement_names();

// Name of `code` in `table`, or nullopt.
std::optional<std::string_view> name_of(std::span<const CodeName> table, uint32_t code);
// Code of `name` in `table`, or nullopt.
std::optional<uint32_t> code_of(std::span<const CodeName> table, std::string_view name);

}  // namespace qvin
