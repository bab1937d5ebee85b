// What the tool asks of the operating system, the same on Linux and Windows: its command
// line, its own file, the terminal, file times and UTF-8 paths. The halves are
// system_posix.inc and system_win.inc.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qvin::platform {

// The arguments after the program's name, in UTF-8. On Windows they come from the wide
// command line (argv holds them in the ANSI code page, which loses other characters).
std::vector<std::string> utf8_arguments(int argc, char** argv);

// Makes the console show the UTF-8 text the tool writes (a no-op outside Windows).
void use_utf8_console();

// The running program's file; empty when the system does not tell.
std::filesystem::path running_program();

// Whether standard error is an interactive terminal (a console on Windows).
bool stderr_is_terminal();

// The file's modification time in whole seconds since 1970 (UTC, rounded down); nullopt
// when the file cannot be examined.
std::optional<int64_t> modification_time(const std::filesystem::path& file);

// A path from UTF-8 text. The implicit conversion from std::string reads the text in the
// ANSI code page on Windows; std::filesystem::path::string() gives UTF-8 back on both.
std::filesystem::path path_from_utf8(std::string_view text);

}  // namespace qvin::platform
