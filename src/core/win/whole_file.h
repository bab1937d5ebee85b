// Whole-file operations on top of the File object: write, compare, append.
#pragma once

#include <stdint.h>

namespace core {

// A count meaning "up to the terminating NUL".
inline constexpr int32_t up_to_nul = 2147483647;

// Bits of append_to_file's flags.
namespace append_flag {
inline constexpr uint32_t EnsureLineEnd = 0x1;  // first make the file end with a line end
inline constexpr uint32_t NoRetry = 0x2;        // one attempt only
inline constexpr uint32_t ExistingOnly = 0x4;   // never create the file
}  // namespace append_flag

// Creates (or empties) the file at path and writes count bytes of data (up_to_nul: up to
// the NUL). False for an empty path or when the file cannot be created or written.
bool write_file(const char* path, const void* data, int32_t count);

// True when a file is at path, also when another program holds it open without sharing
// (a query-only open that meets a sharing violation).
bool file_exists(const char* path);

// True when the file at path holds exactly the count bytes of data.
bool file_equals(const char* path, const void* data, int32_t count);

// Appends text at the end of the file at path (created unless ExistingOnly). A failed
// open gives false at once; a failed write closes the file, waits 100 ms and starts
// again, at most 10 attempts in all (one with NoRetry).
bool append_to_file(const char* path, const char* text, uint32_t flags);

}  // namespace core
