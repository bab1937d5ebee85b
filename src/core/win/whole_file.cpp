// Whole-file operations on top of the File object.
#include "core/win/whole_file.h"

#include <string.h>

#include "core/win/file.h"
#include "core/win/pause.h"

namespace core {

bool write_file(const char* path, const void* data, int32_t count) {
  if (path == nullptr || *path == 0) return false;
  File file;
  if (file.open(path, file_open::WriteNew) != OpenResult::Opened) return false;
  if (count == up_to_nul) count = data == nullptr ? 0 : static_cast<int32_t>(strlen(static_cast<const char*>(data)));
  if (data == nullptr || count <= 0) return file.close();
  return file.write_block(data, count) && file.close();
}

bool file_exists(const char* path) {
  File file;
  OpenResult result = file.open(path, file_open::ExistenceTest);
  return result == OpenResult::Opened || result == OpenResult::Locked;
}

bool file_equals(const char* path, const void* data, int32_t count) {
  File file;
  if (file.open(path, file_open::ReadShared) != OpenResult::Opened) return false;
  if (count < 0 || file.size() != count) return false;
  const char* expected = static_cast<const char*>(data);
  char block[4096];
  for (int32_t done = 0; done < count;) {
    int32_t piece = count - done < static_cast<int32_t>(sizeof(block)) ? count - done : sizeof(block);
    if (!file.read_block(block, piece) || memcmp(block, expected + done, piece) != 0) return false;
    done += piece;
  }
  return true;
}

bool append_to_file(const char* path, const char* text, uint32_t flags) {
  uint32_t open_flags = ((flags & append_flag::ExistingOnly) ? file_open::OpenExisting : file_open::OpenAlways) |
                        file_open::Append;
  int32_t length = text == nullptr ? 0 : static_cast<int32_t>(strlen(text));
  for (int attempt = 1;; ++attempt) {
    File file;
    if (file.open(path, open_flags) != OpenResult::Opened) return false;
    if (flags & append_flag::EnsureLineEnd) file.ensure_line_end();
    int64_t before = file.size();
    if (file.write_block(text, length) && file.close()) return true;
    // A failed write may have left part of the text: cut it off, so that the next
    // attempt does not write it twice.
    if (file.is_open() && before >= 0 && file.seek(before)) file.truncate();
    if ((flags & append_flag::NoRetry) || attempt >= 10) return false;
    file.close();
    pause(100);
  }
}

}  // namespace core
