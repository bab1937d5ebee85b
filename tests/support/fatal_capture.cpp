// The fatal-message capture for tests: a handler that records and longjmps back.
#include "support/fatal_capture.h"

#include <setjmp.h>

#include "core/fatal.h"

namespace test_support {

namespace {

jmp_buf* landing = nullptr;
std::string captured;

void record_and_jump(const char* message) {
  captured = message;
  longjmp(*landing, 1);
}

}  // namespace

std::string capture_fatal(const std::function<void()>& body) {
  jmp_buf here;
  jmp_buf* outer = landing;
  landing = &here;
  core::FatalHandler former = core::set_fatal_handler(record_and_jump);
  captured.clear();
  // volatile: these are read again after the jump.
  volatile bool jumped = false;
  if (setjmp(here) == 0) {
    body();
  } else {
    jumped = true;
  }
  core::set_fatal_handler(former);
  landing = outer;
  return jumped ? captured : std::string();
}

}  // namespace test_support
