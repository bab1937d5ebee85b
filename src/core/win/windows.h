// The one gate to <windows.h>: every Windows-only file includes this header instead.
#pragma once

// The program calls the single-byte (...A) functions throughout; a UNICODE build would
// silently switch every macro-named call to its wide variant.
#ifdef UNICODE
#error "qvin calls the ANSI (...A) Windows functions: build without UNICODE"
#endif

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef STRICT
#define STRICT
#endif

#include <windows.h>
