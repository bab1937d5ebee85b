// The thread's last system error and the system's text for an error code.
#pragma once

#include <stdint.h>

#include "core/string.h"

namespace core {

// The calling thread's last-error value (GetLastError).
uint32_t last_error();

// The system's message for code, exactly as the system words it (usually ending in a
// line end), in the user's default language, with insert placeholders such as %1 left
// as they are; empty for 0 and for codes without a message. Never fails.
String error_text(uint32_t code);

// error_text of the thread's last error.
String last_error_text();

// Sets the thread's last error: to code, to 0, or to ERROR_INVALID_PARAMETER (87).
void set_last_error(uint32_t code);
void clear_last_error();
void set_invalid_parameter_error();

}  // namespace core
