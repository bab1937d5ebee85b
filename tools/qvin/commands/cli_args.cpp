// Option parsing shared by the commands.
#include "qvin/commands/cli_args.h"

#include "qvin/project/errors.h"

namespace qvin {

std::optional<std::string> ParsedArgs::value(std::string_view name) const {
  const auto it = values.find(name);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

std::vector<std::string> ParsedArgs::all(std::string_view name) const {
  const auto it = every.find(name);
  return it == every.end() ? std::vector<std::string>{} : it->second;
}

ParsedArgs parse_args(std::span<const std::string> args, std::span<const OptionSpec> spec) {
  ParsedArgs out;
  bool options_done = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_done || arg.size() < 2 || arg[0] != '-') {
      out.positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_done = true;
      continue;
    }
    const OptionSpec* found = nullptr;
    std::optional<std::string> inline_value;
    if (arg[1] == '-') {
      const size_t eq = arg.find('=');
      const std::string name = arg.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
      if (eq != std::string::npos) inline_value = arg.substr(eq + 1);
      for (const auto& s : spec)
        if (s.long_name == name) found = &s;
      if (!found) throw UsageError("unknown option --" + name);
    } else {
      for (const auto& s : spec)
        if (s.short_name != 0 && s.short_name == arg[1]) found = &s;
      if (!found) throw UsageError("unknown option " + arg.substr(0, 2));
      if (arg.size() > 2) inline_value = arg.substr(2);
    }
    const std::string name(found->long_name);
    if (!found->takes_value) {
      if (inline_value) throw UsageError("option --" + name + " takes no value");
      out.values[name] = "";
      continue;
    }
    if (!inline_value) {
      if (i + 1 >= args.size()) throw UsageError("option --" + name + " needs a value");
      inline_value = args[++i];
    }
    out.values[name] = *inline_value;
    out.every[name].push_back(*inline_value);
  }
  return out;
}

}  // namespace qvin
