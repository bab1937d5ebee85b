// The File object: block reads and writes, positions, offset reads, whole-file helpers.
#include <string.h>

#include "core/win/file.h"
#include "core/win/system_error.h"

namespace core {

namespace {

WritePieceHook write_piece_hook = nullptr;

BOOL write_piece(HANDLE handle, const void* data, DWORD count, DWORD* written) {
  if (write_piece_hook != nullptr) return write_piece_hook(handle, data, count, written);
  return WriteFile(handle, data, count, written, nullptr);
}

}  // namespace

WritePieceHook set_write_piece_hook(WritePieceHook hook) {
  WritePieceHook previous = write_piece_hook;
  write_piece_hook = hook;
  return previous;
}

bool File::read_block(void* buffer, int32_t count) {
  if (count == 0) return true;
  if (count < 0) {
    error_text_.format("Illegal block size %d", count);
    return false;
  }
  if (buffer == nullptr) {
    error_text_ = "NULL block pointer";
    return false;
  }
  if (!readable_) {
    error_text_ = "Read access denied";
    return false;
  }
  if (memory_mode_) {
    int32_t left = memory_.length() - cursor_;
    int32_t taken = count < left ? count : left;
    if (taken > 0) memcpy(buffer, memory_.text() + cursor_, taken);
    cursor_ += taken;
    if (taken < count) {
      error_text_ = "Read past end of file";
      return false;
    }
    return true;
  }
  if (handle_ == INVALID_HANDLE_VALUE) {
    error_text_ = "File not open";
    return false;
  }
  DWORD read = 0;
  if (!ReadFile(handle_, buffer, static_cast<DWORD>(count), &read, nullptr)) {
    set_system_error_text();
    return false;
  }
  if (read < static_cast<DWORD>(count)) {
    error_text_ = "Read past end of file";
    return false;
  }
  return true;
}

bool File::write_block(const void* buffer, int32_t count) {
  if (count == 0) return true;
  if (count < 0) {
    error_text_ = "Illegal block size";
    return false;
  }
  if (buffer == nullptr) {
    error_text_ = "NULL block pointer";
    return false;
  }
  if (!writable_) {
    error_text_ = "Write access denied";
    return false;
  }
  if (memory_mode_) return write_memory(static_cast<const char*>(buffer), count);
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  if (!write_handle(static_cast<const char*>(buffer), count)) return false;
  if (flush_after_write_) FlushFileBuffers(handle_);
  return true;
}

bool File::write_handle(const char* data, int32_t count) {
  while (count > 0) {
    DWORD piece = static_cast<DWORD>(count < file_write_piece ? count : file_write_piece);
    DWORD written = 0;
    if (!write_piece(handle_, data, piece, &written)) {
      set_system_error_text();
      return false;
    }
    if (written != piece) {
      error_text_ = "Not all data could be written";
      return false;
    }
    data += piece;
    count -= static_cast<int32_t>(piece);
  }
  return true;
}

// Memory mode writes at the cursor, overwriting and extending the buffer, like a write to
// the file would.
bool File::write_memory(const char* data, int32_t count) {
  int32_t end = cursor_ + count;
  if (end < cursor_) {
    error_text_ = "Illegal block size";
    return false;
  }
  if (end > memory_.length()) memory_.set_length(end);
  memcpy(memory_.data() + cursor_, data, count);
  cursor_ = end;
  dirty_ = true;
  return true;
}

bool File::set_position(int64_t offset, DWORD method) {
  LONG high = static_cast<LONG>(offset >> 32);
  SetLastError(NO_ERROR);
  DWORD low = SetFilePointer(handle_, static_cast<LONG>(offset & 0xFFFFFFFF), &high, method);
  return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

int64_t File::position() const {
  if (memory_mode_) return cursor_;
  if (handle_ == INVALID_HANDLE_VALUE) return -1;
  LONG high = 0;
  SetLastError(NO_ERROR);
  DWORD low = SetFilePointer(handle_, 0, &high, FILE_CURRENT);
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return -1;
  return (static_cast<int64_t>(high) << 32) | low;
}

int64_t File::size() const {
  if (memory_mode_) return memory_.length();
  if (handle_ == INVALID_HANDLE_VALUE) return -1;
  DWORD high = 0;
  SetLastError(NO_ERROR);
  DWORD low = GetFileSize(handle_, &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return -1;
  return (static_cast<int64_t>(high) << 32) | low;
}

bool File::seek(int64_t offset) {
  if (memory_mode_) {
    if (offset < 0 || offset > memory_.length()) return false;
    cursor_ = static_cast<int32_t>(offset);
    return true;
  }
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  return set_position(offset, FILE_BEGIN);
}

bool File::seek_end(int64_t offset) {
  if (memory_mode_) return seek(memory_.length() + offset);
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  return set_position(offset, FILE_END);
}

bool File::at_end() const {
  if (!is_open()) return true;
  return position() == size();
}

bool File::more_data() const {
  if (!is_open()) return false;
  int64_t at = position();
  return at >= 0 && at < size();
}

bool File::read_at(int64_t offset, int32_t count, String& out) {
  int64_t total = size();
  if (offset < 0 || count < 0 || total < 0 || offset + count > total) return false;
  int64_t saved = position();
  bool read = seek(offset) && out.try_set_length(count) && read_block(out.data(), count);
  seek(saved);
  return read;
}

bool File::read_last(void* buffer, int32_t count) {
  int64_t total = size();
  if (count < 0 || total < count) return false;
  int64_t saved = position();
  bool read = seek(total - count) && read_block(buffer, count);
  seek(saved);
  return read;
}

bool File::read_until_nul(String& out) {
  out = String();
  char piece[256];
  for (;;) {
    int64_t at = position();
    int64_t left = size() - at;
    if (at < 0 || left <= 0) return false;
    int32_t count = left < static_cast<int64_t>(sizeof(piece)) ? static_cast<int32_t>(left) : sizeof(piece);
    if (!read_block(piece, count)) return false;
    const char* nul = static_cast<const char*>(memchr(piece, 0, count));
    if (nul != nullptr) {
      int32_t used = static_cast<int32_t>(nul - piece);
      out.append(piece, used);
      // Leave the position just after the 0 byte.
      return seek(at + used + 1);
    }
    out.append(piece, count);
  }
}

bool File::append_text(const char* text) {
  if (text == nullptr) return true;
  String copy(text);
  return append_text(copy);
}

bool File::append_text(const String& text) {
  int64_t saved = position();
  if (saved < 0) return false;
  if (saved == size()) return write_block(text.text(), text.length());
  bool written = seek_end(0) && write_block(text.text(), text.length());
  seek(saved);
  return written;
}

bool File::ensure_line_end() {
  if (size() == 0) return true;
  char last = 0;
  if (!read_last(&last, 1)) return false;
  if (last == '\r' || last == '\n') return true;
  return append_text("\r\n");
}

bool File::rewrite(const String& data) {
  return seek(0) && write_block(data.text(), data.length()) && truncate();
}

bool File::truncate() {
  if (memory_mode_) {
    if (!writable_) return false;
    memory_.set_length(cursor_);
    dirty_ = true;
    return true;
  }
  if (handle_ == INVALID_HANDLE_VALUE || !writable_) return false;
  return SetEndOfFile(handle_) != 0;
}

bool File::flush() {
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  // A changed memory buffer goes to the file now, so that closing later does not change
  // the file's time again.
  if (!write_back()) return false;
  return FlushFileBuffers(handle_) != 0;
}

bool File::load_all(String& out) {
  if (memory_mode_) {
    out = memory_;
    cursor_ = memory_.length();
    return true;
  }
  int64_t total = size();
  if (total < 0 || total > 0x7FFFFFF0 || !seek(0)) return false;
  int32_t count = static_cast<int32_t>(total);
  if (!out.try_set_length(count)) return false;
  if (!read_block(out.data(), count)) {
    out = String();
    return false;
  }
  return true;
}

}  // namespace core
