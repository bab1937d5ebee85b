// The text of the batch file "QVINBAT.BAT" and the command line that runs it, on text alone.
#pragma once

#include <stdint.h>

#include "core/array.h"
#include "core/string.h"

namespace install {

// One environment variable the batch receives.
struct BatchVariable {
  const char* name;
  core::String value;
};

// `SET "name=value"` with its line end. The quotes keep '&', '|', '<', '>' and '^' in the
// value as data; '%' is doubled so the interpreter reads it as a percent sign, and line
// ends are dropped so a value stays on its line.
core::String batch_set_line(const char* name, const core::String& value);

// "@echo off", a SET line per variable, then the commands with their line ends made CR LF;
// without the PAUSE lines when drop_pause (automatic or hidden runs).
core::String batch_file_text(const core::Vector<BatchVariable>& variables, const core::String& commands,
                             bool drop_pause);

// The environment size the interpreter is asked to reserve.
inline constexpr int32_t kBatchEnvironmentSize = 5000;

// The interpreter (quoted once when it holds white space) with /e: and /c, and the batch
// path in two pairs of quotes: /c takes away the outer pair, the inner one keeps a path
// with blanks or '&' in one piece.
core::String batch_command_line(const core::String& interpreter, const core::String& batch_path);

// The interpreter's file without surrounding quotes, as the system wants a program name.
core::String interpreter_program(const core::String& interpreter);

}  // namespace install
