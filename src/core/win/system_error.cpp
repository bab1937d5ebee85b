// The thread's last system error and the system's text for an error code.
#include "core/win/system_error.h"

#include "core/win/windows.h"

namespace core {

uint32_t last_error() { return GetLastError(); }

String error_text(uint32_t code) {
  String text;
  if (code == 0) return text;
  char* buffer = nullptr;
  // With ALLOCATE_BUFFER the buffer argument receives a pointer to the system's block.
  // Messages with inserts ("%1 is not a valid...") would fail without arguments: their
  // placeholders are kept instead.
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                    FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, code,
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&buffer), 0,
                                nullptr);
  if (buffer != nullptr) {
    if (length > 0) text.append(buffer, static_cast<int>(length));
    LocalFree(buffer);
  }
  return text;
}

String last_error_text() { return error_text(GetLastError()); }

void set_last_error(uint32_t code) { SetLastError(code); }

void clear_last_error() { SetLastError(0); }

void set_invalid_parameter_error() { SetLastError(ERROR_INVALID_PARAMETER); }

}  // namespace core
