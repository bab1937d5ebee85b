// The installer's command line: /a, /d:"dir", /n:"name", /u:"name", /r:"program" and
// /b1: /b2: /b3: batch additions. Pure text rules, so they are tested on any host.
#pragma once

#include "core/string.h"

namespace app {

// At most this many atoms are read; later ones are ignored.
inline constexpr int kMaxAtoms = 19;

struct CommandLine {
  bool automatic = false;            // /a
  core::String install_directory;    // /d:"dir", quotes removed
  core::String product_name;         // /n:"name", quotes removed
  bool uninstall = false;            // /u or /u:"name"
  core::String uninstall_name;       // quotes removed
  core::String run_after;            // /r:"program", ` turned into "
  core::String batch_additions[3];   // /b1: /b2: /b3:, ` turned into ", ~~ into CR LF
};

// The arguments in the whole command line the process was started with: the program's own
// name skipped (blanks inside double quotes belong to it), then the blanks after it.
const char* arguments_after_program_name(const char* command_line);

// Parses the arguments (the command line without the program's own name). On success
// returns true. On a usage error returns false and sets `message` to the line that heads
// the usage text: "Unexpected command line parameter:\n<token>" for a word without '/' or
// '-', "Illegal command line atom:\n<atom>" for an unknown atom, and "Product name
// required" for an uninstall request without a name.
bool parse_command_line(const char* arguments, CommandLine& line, core::String& message);

// The usage text shown with a usage error: the message, then the synopsis naming the
// program's file name, then one line per option.
core::String usage_text(const char* message, const char* program_name);

}  // namespace app
