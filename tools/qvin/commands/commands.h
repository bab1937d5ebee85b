// The qvin commands. Each takes its arguments (after the command name), writes its
// report to `out` and returns the exit code; errors are thrown (see errors.h) and
// turned into messages and exit codes by `run_cli`.
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace qvin {

int command_build(std::span<const std::string> args, std::ostream& out);
int command_list(std::span<const std::string> args, std::ostream& out);
int command_info(std::span<const std::string> args, std::ostream& out);
int command_verify(std::span<const std::string> args, std::ostream& out);
int command_extract(std::span<const std::string> args, std::ostream& out);

// The help text of a command ("" for the overview).
std::string_view command_help(std::string_view command);

// Runs the tool with `args` (without the program name): the command, its options and
// arguments. Reports go to `out`, errors to `err`. Returns the exit code.
int run_cli(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace qvin
