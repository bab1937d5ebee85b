// One record of the file table: where a file goes, how it is written, its data and shortcut fields.
#pragma once

#include <stdint.h>

#include "archive/archive_cursor.h"
#include "archive/corrupt_code.h"
#include "archive/memory_stream.h"
#include "core/file_time.h"
#include "core/string.h"

namespace archive {

// Destination kinds: the default directory and the overwrite rule of a file.
namespace file_kind {
inline constexpr uint32_t Install = 0;      // installation directory; shortcuts when asked
inline constexpr uint32_t Shared = 1;       // shared directory; date rule; shared-file list
inline constexpr uint32_t Path = 2;         // no default directory: needs a destination path
inline constexpr uint32_t PathAlt = 3;      // the same
inline constexpr uint32_t Font = 4;         // font directory; date rule; font registration
inline constexpr uint32_t Startup = 5;      // installation directory; always a startup shortcut
inline constexpr uint32_t System = 6;       // system directory; version rule; permanent shared file
inline constexpr uint32_t ComServer = 7;    // system directory; version rule; self-registration
inline constexpr uint32_t TypeLibrary = 8;  // system directory; version rule; type library
inline constexpr uint32_t Versioned = 9;    // installation directory; version rule
}  // namespace file_kind

// Bits of a record's flag word; other bits are ignored.
namespace file_flag {
inline constexpr uint32_t DesktopShortcut = 0x01;
inline constexpr uint32_t StartMenuShortcut = 0x02;
inline constexpr uint32_t ShortcutMask = 0x03;   // the icon field is stored only under these
inline constexpr uint32_t ExistenceMask = 0x0C;  // an ExistenceMode
inline constexpr uint32_t Permanent = 0x20;      // never recorded for removal
inline constexpr uint32_t InUninstallDir = 0x40; // with an empty destination: the uninstall directory
}  // namespace file_flag

// When a file is written, by whether its target exists (flags & ExistenceMask).
enum class ExistenceMode : uint32_t {
  Always = 0,
  Never = 4,         // not written, still listed as shared file and for registration
  IfExists = 8,
  IfAbsent = 12,
};

// Where a kind puts a file that has no destination path.
enum class DefaultDirectory { None, Install, Shared, Font, System };
// How a kind decides to replace an existing file.
enum class OverwriteRule { Always, Date, VersionThenDate };

DefaultDirectory default_directory(uint32_t kind);
OverwriteRule overwrite_rule(uint32_t kind);

// Attributes value that leaves a written file's attributes alone.
inline constexpr int32_t kKeepAttributes = -1;

// One record, fields in stream order. The data is not copied: it points into the archive
// data the record was read from (or, for writing, at the caller's bytes); its length
// comes from the archive header's list of file sizes, not from the record.
struct FileEntry {
  core::String name;               // 1 path below the destination directory, not empty
  uint32_t kind = file_kind::Install;  // 2
  uint32_t flags = 0;              // 3 file_flag bits
  int32_t attributes = kKeepAttributes;  // 4
  const uint8_t* data = nullptr;   // 5 data_size bytes
  int32_t data_size = 0;
  int64_t data_offset = 0;         //   where the data starts in the archive data read from
  uint32_t checksum = 0;           // 6 archive checksum of the data
  core::FileTime time;             // 7 month 0: no date; negative hour: no time of day
  core::String text;               // 8 version (kinds 6..9), font face (4), shortcut name (0, 5)
  core::String icon;               // 9 stored only when flags & ShortcutMask
  core::String arguments;          // 10 shortcut arguments
  core::String destination;        // 11 empty, a new file name (no '\'), or a path
  core::String working_directory;  // 12 shortcut working directory

  ExistenceMode existence() const { return static_cast<ExistenceMode>(flags & file_flag::ExistenceMask); }
  // A destination without '\' renames the file (and leaves no destination path).
  bool renames() const;
  // The destination holds a path (at least one '\').
  bool has_destination_path() const;
  // Same fields and the same data bytes (where the data lies does not matter).
  bool operator==(const FileEntry& other) const;
};

// Reads one record at the cursor. `size` is the entry's size from the archive header;
// the data is stepped over (data and data_offset point at it) and checked against the
// stored checksum. Codes, in reading order: EmptyFileName (also for a name that
// stored_name_problem refuses), NegativeFileSize, FileTooLarge, FileChecksum,
// EmptyFileName for a refused destination, and BadDestinationKind for a kind without a
// default directory when the record gives no destination path (after renaming) and no
// InUninstallDir flag. A record that runs past the end of the data gives EmptyFileName,
// the code of a table that ends where an entry should be; the cursor then stands
// somewhere inside the record.
CorruptCode read_file_entry(ArchiveCursor& cursor, int64_t size, FileEntry& entry);

// Writes one record (the data from entry.data, entry.data_size bytes, and the checksum
// as given: see seal_file_entry), the exact inverse of read_file_entry; the icon is
// written only with a shortcut flag. The record is written even when invalid; the result
// is the code reading it back would give, or EmptyFileName for a value the record cannot
// hold (a zero byte inside a text).
CorruptCode write_file_entry(MemoryStream& stream, const FileEntry& entry);

// Sets the entry's checksum from its data.
void seal_file_entry(FileEntry& entry);

}  // namespace archive
