// The File object: opening with its flag word, closing, the result texts, the name rules.
#include "core/win/file.h"

#include "core/fatal.h"
#include "core/paths.h"
#include "core/win/file_time_win.h"
#include "core/win/pause.h"
#include "core/win/system_error.h"

namespace core {

namespace {

// The three letters in front of the temporary files the File object creates.
constexpr const char* temp_prefix = "QVT";

constexpr const char* open_texts[] = {
    "The file was successfully opened.",
    "An unknown error occurred.",
    "The filename is invalid.",
    "The file was not found.",
    "The directory does not exist.",
    "The file is locked by another application.",
    "Failed to read the file into memory.",
    "Too many files are already open.",
    "An invalid parameter was used.",
    "The file already exists.",
    "Too many indexed files exist.",
    "Access denied.",
    "The file's Read-Only attribute is set.",
};
constexpr int open_text_count = sizeof(open_texts) / sizeof(open_texts[0]);

// The system's temporary directory without its trailing '\'.
String temp_directory_path() {
  char buffer[MAX_PATH + 1];
  DWORD length = GetTempPathA(sizeof(buffer), buffer);
  if (length == 0 || length >= sizeof(buffer)) return String();
  if (buffer[length - 1] == '\\') --length;
  String result;
  result.append(buffer, static_cast<int>(length));
  return result;
}

// The name the flag word's name rule makes of name, or an empty text with the system's
// last error set when a temporary file cannot be made.
String apply_name_rule(const char* name, uint32_t rule) {
  if (rule == file_open::InTempDirectory) return join_path(temp_directory_path().text(), name);
  String directory;
  if (rule == file_open::TempInTempDirectory) {
    directory = temp_directory_path();
  } else if (rule == file_open::TempInDirectory) {
    directory = name;
  } else if (rule == file_open::TempBesideName) {
    directory = directory_part(name);
  } else {
    return String(name);
  }
  if (directory.is_empty()) directory = ".";
  char buffer[MAX_PATH + 1];
  if (GetTempFileNameA(directory.text(), temp_prefix, 0, buffer) == 0) return String();
  return String(buffer);
}

}  // namespace

OpenResult open_result_of_error(uint32_t error, bool write_asked, uint32_t attributes) {
  switch (error) {
    case ERROR_INVALID_NAME: return OpenResult::InvalidName;
    case ERROR_FILE_NOT_FOUND: return OpenResult::NotFound;
    case ERROR_PATH_NOT_FOUND: return OpenResult::NoDirectory;
    case ERROR_SHARING_VIOLATION: return OpenResult::Locked;
    case ERROR_TOO_MANY_OPEN_FILES: return OpenResult::TooManyOpen;
    case ERROR_INVALID_PARAMETER: return OpenResult::InvalidParameter;
    case ERROR_FILE_EXISTS: return OpenResult::AlreadyExists;
    case ERROR_ACCESS_DENIED:
      if (write_asked && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return OpenResult::ReadOnly;
      }
      return OpenResult::AccessDenied;
    default: return OpenResult::UnknownError;
  }
}

File::~File() { close(); }

const char* File::message(int code) {
  if (code < 0 || code >= open_text_count) code = open_text_count - 1;
  return open_texts[code];
}

OpenResult File::open(const char* name, uint32_t flags, uint32_t attributes) {
  close();
  path_ = String();
  uint32_t rule = flags & file_open::NameRule;
  if ((name == nullptr || *name == 0) && rule != file_open::TempInTempDirectory) return OpenResult::InvalidName;
  return open_handle(name == nullptr ? "" : name, flags, attributes);
}

OpenResult File::open_handle(const char* name, uint32_t flags, uint32_t attributes) {
  bool read = !(flags & file_open::NoRead);
  bool write = !(flags & file_open::NoWrite);
  DWORD access = (read ? GENERIC_READ : 0) | (write ? GENERIC_WRITE : 0);
  DWORD sharing = 0;
  if ((flags & file_open::ShareRead) || ((flags & file_open::ShareWrite) && !read)) sharing |= FILE_SHARE_READ;
  if ((flags & file_open::ShareWrite) || ((flags & file_open::ShareRead) && !write)) sharing |= FILE_SHARE_WRITE;
  static constexpr DWORD creations[] = {OPEN_ALWAYS, OPEN_EXISTING, CREATE_NEW, CREATE_ALWAYS};
  DWORD creation = creations[flags & file_open::CreationRule];

  uint32_t rule = flags & file_open::NameRule;
  if (rule == file_open::TempInTempDirectory || rule == file_open::TempInDirectory ||
      rule == file_open::TempBesideName) {
    creation = CREATE_ALWAYS;
  }
  path_ = apply_name_rule(name, rule);
  if (path_.is_empty()) return open_result_of_error(GetLastError(), write, INVALID_FILE_ATTRIBUTES);

  // Retries: a first failure of any kind under RetryOnce (150 ms), then sharing
  // violations every 100 ms while the counter allows; a retry after the first under
  // RetryOnce counts twice, which gives six attempts without it and four with it.
  int counter = 0;
  bool first = true;
  DWORD error = 0;
  for (;;) {
    handle_ = CreateFileA(path_.text(), access, sharing, nullptr, creation, attributes, nullptr);
    if (handle_ != INVALID_HANDLE_VALUE) break;
    error = GetLastError();
    if ((flags & file_open::RetryOnce) && first) {
      first = false;
      pause(150);
      counter += 1;
      continue;
    }
    first = false;
    if (error == ERROR_SHARING_VIOLATION && !(flags & file_open::NoSharingRetry) && counter <= 4) {
      pause(100);
      counter += (flags & file_open::RetryOnce) ? 2 : 1;
      continue;
    }
    return open_result_of_error(error, write, GetFileAttributesA(path_.text()));
  }

  readable_ = read;
  writable_ = write;
  if (flags & file_open::MemoryMode) {
    if (!load_all(memory_)) {
      close();
      return OpenResult::MemoryLoadFailed;
    }
    memory_mode_ = true;
    dirty_ = false;
    cursor_ = 0;
  }
  if (flags & file_open::Append) seek_end(0);
  if (flags & file_open::CloseAtOnce) close();
  return OpenResult::Opened;
}

OpenResult File::open_required(const char* name, uint32_t flags, uint32_t attributes) {
  OpenResult result = open(name, flags, attributes);
  if (result != OpenResult::Opened) {
    error_text_ = message(result);
    if (flags & file_open::Required) {
      const char* shown = path_.is_empty() && name != nullptr ? name : path_.text();
      fatal(format_string("Failed to open required file:\r\n%s\r\n\r\n%s", shown, message(result)).text());
    }
  }
  return result;
}

bool File::close() {
  bool written = write_back();
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  readable_ = false;
  writable_ = false;
  memory_mode_ = false;
  dirty_ = false;
  memory_ = String();
  cursor_ = 0;
  return written;
}

bool File::write_back() {
  if (!memory_mode_ || !dirty_ || handle_ == INVALID_HANDLE_VALUE) return true;
  // The whole buffer from offset 0, then cut the file there: the contents may have shrunk.
  if (!set_position(0, FILE_BEGIN) || !write_handle(memory_.text(), memory_.length()) || !SetEndOfFile(handle_)) {
    return false;
  }
  dirty_ = false;
  return true;
}

void File::set_system_error_text() { error_text_ = core::error_text(GetLastError()); }

bool File::set_modified_time(const FileTimeRecord& time) {
  FILETIME file_time;
  if (handle_ == INVALID_HANDLE_VALUE || !to_file_time(time, file_time)) return false;
  // A memory buffer goes to the file first, so that closing does not write after the time
  // is set. The system's own buffers need no flush: the time set on the handle stays, and a
  // flush of every installed file would cost more than writing it.
  if (!write_back()) return false;
  return SetFileTime(handle_, nullptr, nullptr, &file_time) != 0;
}

}  // namespace core
