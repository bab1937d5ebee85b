// The fatal path: message texts of the foundation's misuse errors and the handler call.
#include "core/fatal.h"

#include <stdio.h>

#include "core/string.h"
#include <stdlib.h>
#include <string.h>

namespace core {

namespace {

FatalHandler installed_handler = nullptr;

}  // namespace

FatalHandler set_fatal_handler(FatalHandler handler) {
  FatalHandler former = installed_handler;
  installed_handler = handler;
  return former;
}

void fatal(const char* message) {
  if (message == nullptr) message = "";
  if (installed_handler != nullptr) installed_handler(message);
  fputs(message, stderr);
  fputc('\n', stderr);
  fflush(stderr);
  abort();
}

void internal_fatal(int line) {
  char message[96];
  format_buffer(message, sizeof(message), "Internal Fatal Error\r\nModule: %s\r\nLine: %d", "tk_core", line);
  fatal(message);
}

void fatal_bad_index(const char* type, int32_t index, int32_t count) {
  char message[192];
  format_buffer(message, sizeof(message), "Vector<%s>[%d]\nmax_index = %d", type != nullptr ? type : "",
           static_cast<int>(index), static_cast<int>(count - 1));
  fatal(message);
}

void fatal_empty_stack(const char* type) {
  char message[160];
  format_buffer(message, sizeof(message), "Stack<%s>::pop", type != nullptr ? type : "");
  fatal(message);
}

void format_out_of_memory(char* buffer, uint32_t requested, const uint32_t* words) {
  int used = format_buffer(buffer, kOutOfMemoryMessageSize,
                      "Out Of Memory.  Make sure your hard drive is not full.\nRequested size = %u (0x%08X)\n\n"
                      "Stack contents:",
                      static_cast<unsigned>(requested), static_cast<unsigned>(requested));
  for (int i = 0; i < kOutOfMemoryWords && used > 0 && used < kOutOfMemoryMessageSize; ++i) {
    used += format_buffer(buffer + used, kOutOfMemoryMessageSize - used, "%c%08X",
                     i % 8 == 0 ? '\r' : ' ', static_cast<unsigned>(words[i]));
  }
}

// Reads the words above its own frame: memory it does not own, so address checking is off
// here, and nothing may be allocated (the heap has just failed).
__attribute__((noinline, no_sanitize_address)) void out_of_memory(size_t requested) {
  uint32_t words[kOutOfMemoryWords];
  words[0] = 0x11223344u;
  words[1] = 0x55667788u;
  const volatile uint32_t* above = static_cast<const volatile uint32_t*>(__builtin_frame_address(0));
  for (int i = 2; i < kOutOfMemoryWords; ++i) words[i] = above[i - 2];
  char message[kOutOfMemoryMessageSize];
  format_out_of_memory(message, static_cast<uint32_t>(requested), words);
  fatal(message);
}

namespace detail {

void type_name_from_signature(const char* signature, bool is_class, char* buffer, int size) {
  const char* start = signature != nullptr ? strstr(signature, "T = ") : nullptr;
  if (start == nullptr) {
    format_buffer(buffer, size, "%s", "?");
    return;
  }
  start += 4;
  const char* end = start;
  int depth = 0;
  while (*end != 0 && !(depth == 0 && (*end == ']' || *end == ';'))) {
    if (*end == '<') ++depth;
    if (*end == '>') --depth;
    ++end;
  }
  // Drop the namespaces in front of the name itself (not those inside template arguments).
  const char* name = start;
  for (const char* p = start; p + 1 < end && *p != '<'; ++p) {
    if (p[0] == ':' && p[1] == ':') name = p + 2;
  }
  format_buffer(buffer, size, "%s%.*s", is_class ? "class " : "", static_cast<int>(end - name), name);
}

}  // namespace detail

}  // namespace core
