// The File object: the program's one way to read and write files, over a Win32 handle,
// with an open-flag word, numbered open results, block reads and writes with error texts,
// offset reads that keep the position, and an optional whole-file memory mode.
#pragma once

#include <stdint.h>

#include "core/file_time.h"
#include "core/string.h"
#include "core/win/windows.h"

namespace core {

// Bits of the open flag word.
namespace file_open {
// Creation rule (the low two bits).
inline constexpr uint32_t OpenAlways = 0;    // OPEN_ALWAYS
inline constexpr uint32_t OpenExisting = 1;  // OPEN_EXISTING
inline constexpr uint32_t CreateNew = 2;     // CREATE_NEW
inline constexpr uint32_t CreateAlways = 3;  // CREATE_ALWAYS
inline constexpr uint32_t CreationRule = 0x3;

inline constexpr uint32_t NoRead = 0x8;            // no GENERIC_READ
inline constexpr uint32_t NoWrite = 0x10;          // no GENERIC_WRITE
inline constexpr uint32_t Required = 0x20;         // a failed open is fatal (open_required)
inline constexpr uint32_t RetryOnce = 0x40;        // after the first failure of any kind, wait 150 ms and retry
inline constexpr uint32_t MemoryMode = 0x80;       // load the whole file; written back on close
inline constexpr uint32_t ShareRead = 0x100;       // FILE_SHARE_READ; with NoWrite also share writing
inline constexpr uint32_t ShareWrite = 0x200;      // FILE_SHARE_WRITE; with NoRead also share reading
inline constexpr uint32_t Append = 0x400;          // position at the end after opening
inline constexpr uint32_t CloseAtOnce = 0x800;     // close again after a successful open (existence test)
inline constexpr uint32_t NoSharingRetry = 0x1000; // do not retry a sharing violation

// Name rule (the top three bits). The three temporary-file rules create a new file with a
// name chosen by the system (GetTempFileNameA) and force CreateAlways.
inline constexpr uint32_t NameRule = 0xE0000000;
inline constexpr uint32_t TempInTempDirectory = 0x20000000;  // name ignored, may be empty
inline constexpr uint32_t TempInDirectory = 0x40000000;      // name is the directory
inline constexpr uint32_t TempBesideName = 0x80000000;       // in the directory part of name
inline constexpr uint32_t InTempDirectory = 0xC0000000;      // name relative to the temporary directory

// The flag words the program uses.
inline constexpr uint32_t ReadShared = OpenExisting | NoWrite | ShareRead;  // 273: read a file others may use
inline constexpr uint32_t WriteNew = CreateAlways;                          // 3: write a file from scratch
inline constexpr uint32_t ReadWrite = OpenExisting;                         // 1: update an existing file
inline constexpr uint32_t ReadWriteAlways = OpenAlways;                     // 0: update or create
inline constexpr uint32_t ExistenceTest =                                   // 2841: 0 and 5 both mean "exists"
    OpenExisting | NoRead | NoWrite | ShareRead | ShareWrite | CloseAtOnce;
}  // namespace file_open

// Result of File::open. The numbers are shown to users in messages.
enum class OpenResult : int {
  Opened = 0,
  UnknownError = 1,
  InvalidName = 2,
  NotFound = 3,
  NoDirectory = 4,
  Locked = 5,            // sharing violation, after the retries
  MemoryLoadFailed = 6,
  TooManyOpen = 7,
  InvalidParameter = 8,
  AlreadyExists = 9,
  TooManyIndexed = 10,   // never produced; its text exists for completeness
  AccessDenied = 11,
  ReadOnly = 12,         // access denied while writing was asked and the file is read-only
};

// The open result for the system error of a failed CreateFileA; attributes are the
// file's (INVALID_FILE_ATTRIBUTES when unknown), which tell a read-only file apart.
OpenResult open_result_of_error(uint32_t error, bool write_asked, uint32_t attributes);

// The largest piece handed to one WriteFile call.
inline constexpr int32_t file_write_piece = 1048576;

class File {
 public:
  File() = default;
  // Closes the file (writing a changed memory buffer back).
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens name under the flag word (file_open); attributes go to CreateFileA as its
  // flags-and-attributes value. Anything open is closed first. Shows nothing.
  OpenResult open(const char* name, uint32_t flags, uint32_t attributes = FILE_ATTRIBUTE_NORMAL);
  // open, keeping the result's text as the error text on failure; with file_open::Required
  // a failure ends the program through the fatal path with
  // "Failed to open required file:\r\n<path>\r\n\r\n<text>".
  OpenResult open_required(const char* name, uint32_t flags, uint32_t attributes = FILE_ATTRIBUTE_NORMAL);

  // The fixed text of an open result; a number outside the table gives the last text.
  static const char* message(int code);
  static const char* message(OpenResult result) { return message(static_cast<int>(result)); }

  // Writes a changed memory buffer back (from offset 0, cutting the file there), closes
  // the handle and leaves the object closed. False when the write-back failed.
  bool close();

  bool is_open() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool readable() const { return readable_; }
  bool writable() const { return writable_; }
  bool in_memory_mode() const { return memory_mode_; }
  HANDLE handle() const { return handle_; }
  // The name actually opened (after the name rules).
  const String& path() const { return path_; }
  // Text of the last block failure (or of the last failed open_required).
  const String& error_text() const { return error_text_; }
  // When on, every successful write_block ends with FlushFileBuffers.
  void set_flush_after_write(bool on) { flush_after_write_ = on; }

  // Reads exactly count bytes at the position. False with an error text when count is
  // negative, buffer null, the file not readable or not open, the system call fails, or
  // fewer bytes remain (those that remain are still read). count 0 is true.
  bool read_block(void* buffer, int32_t count);
  // Writes count bytes at the position, in pieces of at most file_write_piece bytes.
  // False with an error text (none when the file is not open) on failure.
  bool write_block(const void* buffer, int32_t count);

  // count bytes at offset into out, keeping the position; false unless the whole range
  // lies within the file.
  bool read_at(int64_t offset, int32_t count, String& out);
  // The last count bytes into buffer, keeping the position.
  bool read_last(void* buffer, int32_t count);
  // Bytes from the position up to a 0 byte (read and dropped) or the end, into out.
  // True when a 0 byte ended the text.
  bool read_until_nul(String& out);
  // Writes text at the end of the file; the position is kept unless it was at the end.
  bool append_text(const String& text);
  bool append_text(const char* text);
  // Appends "\r\n" unless the file is empty or already ends with CR or LF.
  bool ensure_line_end();
  // Replaces the whole contents with data.
  bool rewrite(const String& data);
  // Cuts the file at the position.
  bool truncate();
  // Writes a changed memory buffer back, then FlushFileBuffers.
  bool flush();

  // Size in bytes; -1 when closed.
  int64_t size() const;
  // Position; -1 when closed.
  int64_t position() const;
  // Moves to offset from the start / from the end (offset <= 0). False when closed or out
  // of range (memory mode) or when the system refuses.
  bool seek(int64_t offset);
  bool seek_end(int64_t offset);
  // True when closed or at the end.
  bool at_end() const;
  // True while a byte is left to read.
  bool more_data() const;

  // The whole contents from offset 0 into out (the position ends at the end).
  bool load_all(String& out);

  // Sets the last-write time from a local date and time (milliseconds 0); other times
  // stay. False when closed, the record has no date or time, or the system refuses.
  bool set_modified_time(const FileTimeRecord& time);

 private:
  OpenResult open_handle(const char* name, uint32_t flags, uint32_t attributes);
  bool write_handle(const char* data, int32_t count);
  bool write_back();
  bool write_memory(const char* data, int32_t count);
  bool set_position(int64_t offset, DWORD method);
  void set_system_error_text();

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  String path_;
  String error_text_;
  bool readable_ = false;
  bool writable_ = false;
  bool flush_after_write_ = false;
  bool memory_mode_ = false;
  bool dirty_ = false;
  String memory_;
  int32_t cursor_ = 0;
};

// For tests: replaces each WriteFile call of the File object (one per piece).
using WritePieceHook = BOOL (*)(HANDLE handle, const void* data, DWORD count, DWORD* written);
// Installs hook (null restores WriteFile); returns the previous one.
WritePieceHook set_write_piece_hook(WritePieceHook hook);

}  // namespace core
