// One record of the file table: where a file goes, how it is written, its data and shortcut fields.
#include "archive/file_entry.h"

#include <string.h>

#include "archive/checksum.h"
#include "archive/field_io.h"
#include "archive/format.h"
#include "archive/stored_name.h"

namespace archive {

namespace {

bool times_equal(const core::FileTime& a, const core::FileTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
         a.second == b.second;
}

// Reads fields from the archive cursor; like FieldReader, but the cursor refuses a read
// that does not fit (leaving its position), so the overrun is remembered here.
class CursorReader {
 public:
  static constexpr bool kReading = true;

  explicit CursorReader(ArchiveCursor& cursor) : cursor_(cursor) {}

  void u32(uint32_t& value) { fit(cursor_.read_u32(value), value); }
  void i32(int32_t& value) { fit(cursor_.read_i32(value), value); }
  void text(core::String& value) {
    if (!cursor_.read_cstring(value)) overrun_ = true;
  }
  void file_time(core::FileTime& time) {
    i32(time.year);
    i32(time.month);
    i32(time.day);
    i32(time.hour);
    i32(time.minute);
    i32(time.second);
  }
  // The data stays where it is: the entry points at it.
  void data(FileEntry& entry, int64_t size) {
    entry.data_offset = cursor_.position();
    entry.data = cursor_.current();
    entry.data_size = static_cast<int32_t>(size);
    if (!cursor_.skip(size)) {
      overrun_ = true;
      entry.data = nullptr;
      entry.data_size = 0;
    }
  }

  bool stop_unless(bool ok, CorruptCode code) {
    if (overrun_) return stop(CorruptCode::EmptyFileName);
    if (!ok) return stop(code);
    return false;
  }
  CorruptCode finish() { return overrun_ ? CorruptCode::EmptyFileName : code_; }
  CorruptCode result() const { return code_; }

 private:
  template <class T>
  void fit(bool read, T& value) {
    if (!read) {
      overrun_ = true;
      value = 0;
    }
  }
  bool stop(CorruptCode code) {
    code_ = code;
    return true;
  }

  ArchiveCursor& cursor_;
  bool overrun_ = false;
  CorruptCode code_ = CorruptCode::None;
};

// FieldWriter with the record's data.
class EntryWriter : public FieldWriter {
 public:
  explicit EntryWriter(MemoryStream& stream) : FieldWriter(stream, CorruptCode::EmptyFileName) {}

  void data(FileEntry& entry, int64_t) {
    if (entry.data_size > 0 && !stream().write(entry.data, entry.data_size)) unfit();
  }
};

// A record without a destination path takes its kind's directory, or the uninstall
// directory under InUninstallDir; kinds without a directory need one of the two.
bool has_directory(const FileEntry& entry) {
  if (entry.has_destination_path()) return true;
  if (entry.flags & file_flag::InUninstallDir) return true;
  return default_directory(entry.kind) != DefaultDirectory::None;
}

// A new name is checked as a name, a destination path as a path that may name a drive.
bool destination_is_safe(const FileEntry& entry) {
  if (entry.destination.is_empty()) return true;
  StoredNameKind kind = entry.renames() ? StoredNameKind::Name : StoredNameKind::Destination;
  return stored_name_problem(entry.destination.text(), kind) == nullptr;
}

// The fields in stream order, for reading and writing alike; `size` is the data's
// length (from the archive header when reading).
template <class Io>
CorruptCode transfer(Io& io, FileEntry& entry, int64_t size) {
  io.text(entry.name);
  if (io.stop_unless(stored_name_problem(entry.name.text(), StoredNameKind::Name) == nullptr,
                     CorruptCode::EmptyFileName))
    return io.result();
  io.u32(entry.kind);
  io.u32(entry.flags);
  io.i32(entry.attributes);
  if (io.stop_unless(size >= 0, CorruptCode::NegativeFileSize)) return io.result();
  if (io.stop_unless(size <= header::kMaxFileSize, CorruptCode::FileTooLarge)) return io.result();
  io.data(entry, size);
  io.u32(entry.checksum);
  if (io.stop_unless(archive_checksum(entry.data, entry.data_size) == entry.checksum, CorruptCode::FileChecksum))
    return io.result();
  io.file_time(entry.time);
  io.text(entry.text);
  if (entry.flags & file_flag::ShortcutMask) {
    io.text(entry.icon);
  } else if constexpr (Io::kReading) {
    entry.icon.clear();
  }
  io.text(entry.arguments);
  io.text(entry.destination);
  io.text(entry.working_directory);
  if (io.stop_unless(destination_is_safe(entry), CorruptCode::EmptyFileName)) return io.result();
  if (io.stop_unless(has_directory(entry), CorruptCode::BadDestinationKind)) return io.result();
  return io.finish();
}

}  // namespace

DefaultDirectory default_directory(uint32_t kind) {
  switch (kind) {
    case file_kind::Install:
    case file_kind::Startup:
    case file_kind::Versioned:
      return DefaultDirectory::Install;
    case file_kind::Shared:
      return DefaultDirectory::Shared;
    case file_kind::Font:
      return DefaultDirectory::Font;
    case file_kind::System:
    case file_kind::ComServer:
    case file_kind::TypeLibrary:
      return DefaultDirectory::System;
    default:
      return DefaultDirectory::None;
  }
}

OverwriteRule overwrite_rule(uint32_t kind) {
  switch (kind) {
    case file_kind::Shared:
    case file_kind::Font:
      return OverwriteRule::Date;
    case file_kind::System:
    case file_kind::ComServer:
    case file_kind::TypeLibrary:
    case file_kind::Versioned:
      return OverwriteRule::VersionThenDate;
    default:
      return OverwriteRule::Always;
  }
}

bool FileEntry::renames() const {
  return !destination.is_empty() && destination.find_char('\\') < 0;
}

bool FileEntry::has_destination_path() const { return !destination.is_empty() && !renames(); }

bool FileEntry::operator==(const FileEntry& other) const {
  if (data_size != other.data_size) return false;
  if (data_size > 0 && memcmp(data, other.data, static_cast<size_t>(data_size)) != 0) return false;
  return name == other.name && kind == other.kind && flags == other.flags && attributes == other.attributes &&
         checksum == other.checksum && times_equal(time, other.time) && text == other.text && icon == other.icon &&
         arguments == other.arguments && destination == other.destination &&
         working_directory == other.working_directory;
}

CorruptCode read_file_entry(ArchiveCursor& cursor, int64_t size, FileEntry& entry) {
  entry.data = nullptr;
  entry.data_size = 0;
  CursorReader io(cursor);
  return transfer(io, entry, size);
}

CorruptCode write_file_entry(MemoryStream& stream, const FileEntry& entry) {
  // The writer only reads the fields; transfer takes them by reference for both sides.
  FileEntry& fields = const_cast<FileEntry&>(entry);
  EntryWriter io(stream);
  return transfer(io, fields, entry.data_size);
}

void seal_file_entry(FileEntry& entry) { entry.checksum = archive_checksum(entry.data, entry.data_size); }

}  // namespace archive
