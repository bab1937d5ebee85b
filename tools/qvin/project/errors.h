// The tool's exceptions and the exit code each one ends in.
#pragma once

#include <stdexcept>
#include <string>

namespace qvin {

// Process exit codes of every command.
enum ExitCode : int {
  kExitSuccess = 0,
  kExitRejected = 1,  // damaged or rejected input
  kExitUsage = 2,     // usage or project error
};

// A mistake on the command line (exit 2).
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A mistake in a project file or one of its inputs (exit 2). The message is complete,
// "FILE:LINE:COL: message" when the place is known.
struct ProjectError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// An installer or volume that is damaged or not ours (exit 1). `code` is the
// corrupt-installer code when one applies, else 0.
struct InputError : std::runtime_error {
  InputError(const std::string& message, int corrupt_code = 0)
      : std::runtime_error(message), code(corrupt_code) {}
  int code;
};

}  // namespace qvin
