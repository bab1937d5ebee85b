// Corrupt-installer codes: every integrity failure of an installer, by name.
#pragma once

namespace archive {

// The number shown in the corrupt-installer message. Readers return one of these
// (None = the check passed); the stub's driver and `qvin verify` turn it into a message.
enum class CorruptCode : int {
  None = 0,

  // Installer file and archive section.
  NegativeWriteSize = 5,         // a negative size given to the installed-file writer
  SectionOffsetZero = 9,         // the archive section's PointerToRawData is 0
  SectionSeekFailed = 10,        // the file cannot be positioned at the section's raw data
  BadPeOffset = 43,              // e_lfanew unreadable or outside 64..4096
  BadSectionCount = 44,          // NumberOfSections unreadable or outside 4..99

  // Archive header.
  BadMagic = 20,                 // archive magic number wrong (or the fixed header cut short)
  BadBlockSize = 22,             // header-block size outside 1..0x9FFFFF (or beyond the section)
  BlockChecksum = 25,            // header-block checksum mismatch
  NegativeFileCount = 27,        // file count negative
  BadFileSize = 28,              // a file size outside 0..0x40000000 (or the list cut short)
  NegativeDataLength = 29,       // data length negative
  BadImageDataEnd = 45,          // in-image data end negative (or outside the section)
  BlockDecompress = 47,          // header block fails to decompress

  // Settings.
  BadMinStatusTime = 19,         // minimum status time above 9999
  BlankVolumeBaseName = 21,      // volume base name blank
  BadUninstallerPatch = 23,      // uninstaller patch offset negative or beyond the executable
  BadLicenceCount = 24,          // licence count outside 0..20
  BadReadmeCount = 26,           // readme count outside 0..20
  BadEndMarker = 32,             // end marker of the settings wrong (or the header block cut short)
  BadAssociationCount = 36,      // file-association count outside 0..10000
  BadUninstallValueCount = 37,   // uninstall-key value count outside 0..10000
  TooManyDeletionRules = 38,     // more than 1001 deletion rules
  BadBitmapSize = 39,            // bitmap size percentage outside 0..100

  // Language tables.
  BadLanguageCount = 30,         // language count 0 or above 100
  BadStringCount = 31,           // string count outside 1..10000

  // Uninstaller image.
  ExecutableUnreadable = 35,     // the executable's part before the section cannot be read
  ExecutableChecksum = 40,       // executable checksum mismatch
  TrailingBytesUnreadable = 42,  // the bytes after the archive section cannot be read

  // Archive data.
  VolumeUnreadable = 50,         // a volume file's contents cannot be read
  DataChecksum = 55,             // archive data checksum mismatch
  DataDecompress = 60,           // archive data fails to decompress

  // Deletion rules.
  BadDeletionDate = 65,          // a deletion rule's date value is not a valid date

  // File table.
  EmptyFileName = 70,            // a file entry with an empty name (or the file table cut short)
  NegativeFileSize = 71,         // a negative file size
  FileTooLarge = 72,             // a file size above 0x40000000
  FileChecksum = 100,            // a file's data checksum mismatch
  BadDestinationKind = 110,      // an unknown destination kind without a destination path
};

// The code's number as shown to the user.
constexpr int corrupt_code_number(CorruptCode code) { return static_cast<int>(code); }

// A one-line English description of the code for tools ("archive magic number wrong");
// "no error" for None and "unknown error code" for a number that is not a code. Never null.
const char* corrupt_code_meaning(CorruptCode code);

}  // namespace archive
