// The fatal-message capture for tests: a handler that records and longjmps back.
#include "support/fatal_capture.h"

#include <setjmp.h>

#include "core/fatal.h"

namespace test_support {

namespace {

// The library code between the handler and the landing has no unwind tables on Windows
// (the stub has no use for them), so the jump there must not unwind: the compiler's own
// register-restoring jump. Elsewhere the C library's, which the sanitizers know about.
#ifdef _WIN32
using JumpBuffer = void* [5];
#define QVIN_SETJMP(b) __builtin_setjmp(b)
#define QVIN_LONGJMP(b) __builtin_longjmp(b, 1)
#else
using JumpBuffer = jmp_buf;
#define QVIN_SETJMP(b) setjmp(b)
#define QVIN_LONGJMP(b) longjmp(b, 1)
#endif

JumpBuffer* landing = nullptr;
std::string captured;

void record_and_jump(const char* message) {
  captured = message;
  QVIN_LONGJMP(*landing);
}

}  // namespace

std::string capture_fatal(const std::function<void()>& body) {
  JumpBuffer here;
  JumpBuffer* outer = landing;
  landing = &here;
  core::FatalHandler former = core::set_fatal_handler(record_and_jump);
  captured.clear();
  // volatile: these are read again after the jump.
  volatile bool jumped = false;
  if (QVIN_SETJMP(here) == 0) {
    body();
  } else {
    jumped = true;
  }
  core::set_fatal_handler(former);
  landing = outer;
  return jumped ? captured : std::string();
}

}  // namespace test_support
