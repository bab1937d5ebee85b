// English descriptions of the corrupt-installer codes, for tools that explain a rejection.
#include "archive/corrupt_code.h"

namespace archive {

const char* corrupt_code_meaning(CorruptCode code) {
  switch (code) {
    case CorruptCode::None: return "no error";
    case CorruptCode::NegativeWriteSize: return "a negative size was given to the file writer";
    case CorruptCode::SectionOffsetZero: return "the archive section has no raw data in the file";
    case CorruptCode::SectionSeekFailed: return "the archive section's raw data lies outside the file";
    case CorruptCode::BadPeOffset: return "the PE header offset is unreadable or outside 64..4096";
    case CorruptCode::BadSectionCount: return "the PE section count is unreadable or outside 4..99";
    case CorruptCode::BadMagic: return "the archive magic number is wrong";
    case CorruptCode::BadBlockSize: return "the header-block size is outside 1..0x9FFFFF or beyond the section";
    case CorruptCode::BlockChecksum: return "the header-block checksum does not match";
    case CorruptCode::NegativeFileCount: return "the file count is negative";
    case CorruptCode::BadFileSize: return "a file size is outside 0..0x40000000";
    case CorruptCode::NegativeDataLength: return "the archive data length is negative";
    case CorruptCode::BadImageDataEnd: return "the end of the in-image archive data is outside the section";
    case CorruptCode::BlockDecompress: return "the header block does not decompress";
    case CorruptCode::BadMinStatusTime: return "the minimum status time is above 9999";
    case CorruptCode::BlankVolumeBaseName: return "the volume base name is blank";
    case CorruptCode::BadUninstallerPatch: return "the uninstaller patch offset is negative or beyond the executable";
    case CorruptCode::BadLicenceCount: return "the licence count is outside 0..20";
    case CorruptCode::BadReadmeCount: return "the readme count is outside 0..20";
    case CorruptCode::BadEndMarker: return "the settings end marker is wrong, or the header block ends early";
    case CorruptCode::BadAssociationCount: return "the file-association count is outside 0..10000";
    case CorruptCode::BadUninstallValueCount: return "the uninstall-key value count is outside 0..10000";
    case CorruptCode::TooManyDeletionRules: return "there are more than 1001 deletion rules";
    case CorruptCode::BadBitmapSize: return "the bitmap size percentage is outside 0..100";
    case CorruptCode::BadLanguageCount: return "the language count is 0 or above 100";
    case CorruptCode::BadStringCount: return "the string count is outside 1..10000";
    case CorruptCode::ExecutableUnreadable: return "the executable before the archive section cannot be read";
    case CorruptCode::ExecutableChecksum: return "the executable checksum does not match";
    case CorruptCode::TrailingBytesUnreadable: return "the bytes after the archive section cannot be read";
    case CorruptCode::VolumeUnreadable: return "a volume file cannot be read";
    case CorruptCode::DataChecksum: return "the archive data checksum does not match";
    case CorruptCode::DataDecompress: return "the archive data does not decompress";
    case CorruptCode::BadDeletionDate: return "a deletion rule holds an invalid date";
    case CorruptCode::EmptyFileName: return "a file entry has an empty name, or the file table ends early";
    case CorruptCode::NegativeFileSize: return "a file size is negative";
    case CorruptCode::FileTooLarge: return "a file size is above 0x40000000";
    case CorruptCode::FileChecksum: return "a file's data checksum does not match";
    case CorruptCode::BadDestinationKind: return "a file entry has an unknown destination kind and no destination path";
  }
  return "unknown error code";
}

}  // namespace archive
