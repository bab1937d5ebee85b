// Command-line options of the qvin commands: long and short forms, values, positionals.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qvin {

// One option a command accepts.
struct OptionSpec {
  std::string_view long_name;  // without "--"
  char short_name;             // 0 when there is none
  bool takes_value;
};

// The options and positional arguments of one command line.
struct ParsedArgs {
  std::vector<std::string> positional;
  std::map<std::string, std::string, std::less<>> values;  // by long name, the last one given; switches map to ""
  std::map<std::string, std::vector<std::string>, std::less<>> every;  // by long name, all given, in order

  bool has(std::string_view name) const { return values.find(name) != values.end(); }
  std::optional<std::string> value(std::string_view name) const;
  // Every value of an option that may be repeated (none when it is absent).
  std::vector<std::string> all(std::string_view name) const;
};

// Parses `args` (without the program and command names): "--name value", "--name=value",
// "-n value", "-nvalue"; "--" ends the options. Throws UsageError for an unknown option,
// a missing value, or a value given to a switch.
ParsedArgs parse_args(std::span<const std::string> args, std::span<const OptionSpec> spec);

}  // namespace qvin
