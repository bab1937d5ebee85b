// Helpers of the file and directory tests: a scratch directory per test, raw file access
// that bypasses the code under test, and recorders for waits and write pieces.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "core/win/directories.h"
#include "core/win/file.h"
#include "core/win/pause.h"
#include "core/win/windows.h"

namespace test_support {

// A new directory under the system's temporary directory, removed with its contents when
// the object goes.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    char temp[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof(temp), temp);
    static int serial = 0;
    char name[64];
    snprintf(name, sizeof(name), "qvin-files-%lu-%d", GetCurrentProcessId(), ++serial);
    path_ = std::string(temp, length) + name;
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~ScratchDirectory() {
    // Leave a clean tree even when a test left a file read-only or open elsewhere.
    SetCurrentDirectoryA("C:\\");
    core::remove_directory_tree(path_.c_str());
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// Writes bytes to path with the system directly.
inline bool put_file(const std::string& path, const std::string& bytes) {
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(handle);
  return ok && written == bytes.size();
}

// The bytes of path read with the system directly; "<missing>" when it cannot be opened.
inline std::string file_bytes(const std::string& path) {
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes;
  char block[65536];
  DWORD read = 0;
  while (ReadFile(handle, block, sizeof(block), &read, nullptr) && read > 0) bytes.append(block, read);
  CloseHandle(handle);
  return bytes;
}

inline bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A handle that holds path open without sharing, as another program would.
class Holder {
 public:
  explicit Holder(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr)) {}
  ~Holder() { release(); }
  Holder(const Holder&) = delete;
  Holder& operator=(const Holder&) = delete;
  bool holds() const { return handle_ != INVALID_HANDLE_VALUE; }
  void release() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

// Records the waits asked for instead of waiting, while it lives. on_pause, when set, runs
// at every wait (for example to release a held file).
class PauseRecorder {
 public:
  PauseRecorder() {
    current() = this;
    previous_ = core::set_pause_hook(&record);
  }
  ~PauseRecorder() {
    core::set_pause_hook(previous_);
    current() = nullptr;
  }
  PauseRecorder(const PauseRecorder&) = delete;
  PauseRecorder& operator=(const PauseRecorder&) = delete;

  std::vector<uint32_t> pauses;
  void (*on_pause)(PauseRecorder& recorder) = nullptr;
  void* context = nullptr;

 private:
  static PauseRecorder*& current() {
    static PauseRecorder* recorder = nullptr;
    return recorder;
  }
  static void record(uint32_t milliseconds) {
    PauseRecorder* recorder = current();
    recorder->pauses.push_back(milliseconds);
    if (recorder->on_pause != nullptr) recorder->on_pause(*recorder);
  }
  core::PauseHook previous_;
};

// Replaces the File object's WriteFile calls while it lives: records each piece's size
// and, while fail_next > 0, fails the call (after writing `partial` bytes of it) with
// the given error, or writes less than asked when error is 0.
class WriteRecorder {
 public:
  WriteRecorder() {
    current() = this;
    previous_ = core::set_write_piece_hook(&write);
  }
  ~WriteRecorder() {
    core::set_write_piece_hook(previous_);
    current() = nullptr;
  }
  WriteRecorder(const WriteRecorder&) = delete;
  WriteRecorder& operator=(const WriteRecorder&) = delete;

  std::vector<uint32_t> pieces;
  int fail_next = 0;
  DWORD error = ERROR_DISK_FULL;
  DWORD partial = 0;

 private:
  static WriteRecorder*& current() {
    static WriteRecorder* recorder = nullptr;
    return recorder;
  }
  static BOOL write(HANDLE handle, const void* data, DWORD count, DWORD* written) {
    WriteRecorder* recorder = current();
    recorder->pieces.push_back(count);
    if (recorder->fail_next > 0) {
      --recorder->fail_next;
      DWORD done = 0;
      if (recorder->partial > 0) WriteFile(handle, data, recorder->partial < count ? recorder->partial : count, &done, nullptr);
      *written = done;
      if (recorder->error == 0) return TRUE;
      SetLastError(recorder->error);
      return FALSE;
    }
    return WriteFile(handle, data, count, written, nullptr);
  }
  core::WritePieceHook previous_;
};

}  // namespace test_support
