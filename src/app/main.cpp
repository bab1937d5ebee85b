// The installer's entry point. The loader calls it directly, without the C runtime's
// start-up code: the program has no static constructors, thread-local callbacks or argv to
// prepare, and it ends in ExitProcess, never by returning here.
#include "app/command_line.h"
#include "app/installer_run.h"

// The image's own base, which is the instance handle of a program.
extern "C" IMAGE_DOS_HEADER __ImageBase;

extern "C" __attribute__((used, externally_visible, noreturn)) void qvin_entry() {
  app::run_installer(reinterpret_cast<HINSTANCE>(&__ImageBase), app::arguments_after_program_name(GetCommandLineA()));
}

// The compiler registers the destructors of function-local static objects here. Those
// objects hold memory, handles and keys, which the end of the process returns; the run
// ends in ExitProcess, which calls no destructors, so none is kept.
extern "C" int atexit(void (*)(void)) { return 0; }
