// The operating system's half of writing output files.
#ifdef _WIN32
#include "qvin/platform/output_file_win.inc"
#else
#include "qvin/platform/output_file_posix.inc"
#endif
