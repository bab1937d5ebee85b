// How the run reports and ends: the exit routine, fatal messages, the corrupt-installer
// report, non-fatal errors, usage errors and the wait cursor. Every part of the program
// ends through these, so the windows are always destroyed and OLE released.
#pragma once

#include <stdint.h>

#include "archive/corrupt_code.h"
#include "core/string.h"

namespace ui {

// Starts OLE for the run (the shell's dialogs and links need it); exit_installer ends it.
void start_ole();

// Destroys the progress dialog, minimises and destroys the background window, pumps the
// queue once, releases OLE and ends the process with exit code 1 (on every path).
[[noreturn]] void exit_installer();

// Message box with `text`, caption "FATAL ERROR", MB_TASKMODAL | MB_ICONERROR, owned by
// owner_window(); then exit_installer().
[[noreturn]] void fatal_error(const char* text);
[[noreturn]] void fatal_errorf(const char* format, ...) QVIN_PRINTF(1, 2);

// "Internal Fatal Error\r\nModule: %s\r\nLine: %d" through fatal_errorf.
[[noreturn]] void internal_fatal_error(const char* module, int line);

// The corrupt-installer message with the code: localised text 13 once the language tables
// are loaded and it is not empty, else the built-in text.
[[noreturn]] void report_corrupt(int code);
[[noreturn]] inline void report_corrupt(archive::CorruptCode code) { report_corrupt(static_cast<int>(code)); }

// A non-fatal error: nothing in automatic mode unless flags2 ErrorsInAutomaticMode, nothing
// for a blank text; else MB_ICONERROR with caption localised text 21 ("Error" when empty).
void show_error(const char* format, ...) QVIN_PRINTF(1, 2);

// A message box owned by owner_window(); returns MessageBoxA's answer.
int message_box(const char* text, const char* caption, unsigned style);

// The hourglass while the file system is probed, and back.
void show_wait_cursor();
void hide_wait_cursor();

}  // namespace ui
