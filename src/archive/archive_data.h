// Loading the archive data: the installer's first part, then volume files, checked and expanded.
#pragma once

#include <stdint.h>

#include "archive/archive_cursor.h"
#include "archive/archive_header.h"
#include "archive/archive_section.h"
#include "archive/byte_source.h"
#include "archive/corrupt_code.h"
#include "archive/settings.h"
#include "core/string.h"

namespace archive {

// Opens volume files. The stub uses its File object; tools the C library; tests fakes.
class VolumeOpener {
 public:
  virtual ~VolumeOpener() = default;
  // The volume file at path, open for reading, or null when it cannot be opened. The
  // source stays valid until it is given back to close_volume.
  virtual ByteSource* open_volume(const char* path) = 0;
  virtual void close_volume(ByteSource* volume) = 0;
};

// Asks the user for a missing volume.
class VolumePrompt {
 public:
  virtual ~VolumePrompt() = default;
  // Asks for volume `number` (the installer is 1) on `drive` (upper-case letter, or 0
  // when the path has none). `after_wrong_volume`: the last attempt found a wrong, short or
  // unreadable file, so the text starts with the wrong-volume line. True when the user
  // answers OK.
  virtual bool ask_for_volume(int number, char drive, bool after_wrong_volume) = 0;
  // The cancel question after any other answer; true when the user chooses to end the
  // installation.
  virtual bool confirm_cancel() = 0;
};

// The loading steps the program shows (the stub: status lines, the bar and its pauses).
enum class LoadStage {
  Checking,       // pause, then status "checking" at 36 %; the checksum follows
  Checked,        // pause
  Decompressing,  // status "decompressing" at 40 %
  Decompressed,   // pause
};

class LoadProgress {
 public:
  virtual ~LoadProgress() = default;
  // Before each volume is looked for: ((M - missing) * 30) / M + 5 per cent.
  virtual void set_progress(int percent) = 0;
  virtual void stage(LoadStage stage) = 0;
};

// Where the data is and how to read it.
struct DataSources {
  ByteSource* image_section = nullptr;  // the section's bytes (in the loaded image for the stub)
  ByteSource* file = nullptr;           // the installer file
  bool data_in_file = false;            // the data-placement setting is not 0
  bool compressed = false;              // settings flag 0x20
  const char* volume_base_name = "";
  const char* installer_directory = "";  // volume files are looked for here
  uint32_t first_volume_id = 0;
};

// The sources as the settings place and pack the data, with volumes named after the
// settings' volume_base_name in `installer_directory`. The settings and the directory
// text must outlive the result.
DataSources data_sources(const Settings& settings, ByteSource& image_section, ByteSource& file,
                         const char* installer_directory);

// The loaded data: `bytes`/`length` point into `owned`, or into the image section when the
// data lay there whole and uncompressed (then the section must outlive them).
struct ArchiveData {
  core::String owned;
  const uint8_t* bytes = nullptr;
  int32_t length = 0;
  int volumes_read = 0;

  ArchiveCursor cursor() const { return ArchiveCursor(bytes, length); }
};

enum class LoadStatus {
  Loaded,
  Corrupt,     // see the code
  ReadFailed,  // the installer's own data could not be read (kDataReadFailedMessage)
  Cancelled,   // the user ended the installation while asked for a volume
};

struct LoadResult {
  LoadStatus status = LoadStatus::Loaded;
  CorruptCode code = CorruptCode::None;
};

// Assembles the M data bytes, checks them and, when compressed, expands them:
//  - in the image: the section's bytes D..image_data_end (BadImageDataEnd, 45, when that
//    range is not inside the section; our check, the field is otherwise trusted);
//  - in the file: the file's bytes from the section's raw data + D on, at most M of them
//    and never a certificate table that follows (a signature is not archive data);
//  - then, while bytes are missing, volume files "<base><n>.QVA" (n from 2) in the
//    installer's directory, each starting with the expected identifier; a missing or
//    wrong one is asked for again until it is found or the user cancels. A volume that
//    holds more than is missing gives only what is missing. VolumeUnreadable (50) when an
//    identified volume's data cannot be read.
// Then DataChecksum (55) unless the checksum of the M bytes is data_sum, and with
// `compressed` and M > 0, DataDecompress (60) when they do not decompress.
LoadResult load_archive_data(const ArchiveHeader& header, const ArchiveSection& section, const DataSources& sources,
                             VolumeOpener& opener, VolumePrompt& prompt, LoadProgress& progress, ArchiveData& data);

// The name of volume `number`: the base name, the number in decimal, ".QVA".
core::String volume_file_name(const char* base_name, int number);

// The message for an installer whose own data cannot be read, shown without a code.
inline constexpr char kDataReadFailedMessage[] = "Error code 2: failed to read archive data";

// --- Writing ---

// Appends one volume file: the identifier, then `length` bytes of archive data.
void write_volume(uint32_t identifier, const uint8_t* stretch, int32_t length, core::String& out);

}  // namespace archive
