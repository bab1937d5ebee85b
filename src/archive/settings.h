// The installation settings of the header block: fields, flag bits, reader with checks and defaults, writer.
#pragma once

#include <stdint.h>

#include "archive/corrupt_code.h"
#include "archive/deletion_rule.h"
#include "archive/environment.h"
#include "archive/file_association.h"
#include "archive/language_tables.h"
#include "archive/memory_stream.h"
#include "archive/uninstall_data.h"
#include "archive/uninstaller_patch.h"
#include "core/array.h"
#include "core/date.h"
#include "core/string.h"

namespace archive {

// Bits of the first flag word, `flags`.
namespace flag {
inline constexpr uint32_t RefuseExistingInstallation = 0x1;       // never install over one
inline constexpr uint32_t UninstallerShortcutInStartMenu = 0x2;
inline constexpr uint32_t UninstallSupport = 0x4;                 // enables shared_path, the patch
inline constexpr uint32_t UninstallAsksAboutFonts = 0x10;
inline constexpr uint32_t CompressData = 0x20;                    // the archive data is compressed
inline constexpr uint32_t AlwaysWriteLog = 0x40;
inline constexpr uint32_t AskInstallDirectory = 0x80;
inline constexpr uint32_t Automatic = 0x100;                      // as with /a
inline constexpr uint32_t UninstallAutomatic = 0x200;
inline constexpr uint32_t UninstallRemovesDirectoryTree = 0x400;
inline constexpr uint32_t ReplaceNewFilesAtRestart = 0x800;
inline constexpr uint32_t AddToPath = 0x1000;
inline constexpr uint32_t OfferRestart = 0x4000;
inline constexpr uint32_t InstallBackgroundBitmap = 0x8000;
inline constexpr uint32_t AddOn = 0x10000;                        // enables master_product
inline constexpr uint32_t UninstallAsksAboutSharedFiles = 0x20000;
inline constexpr uint32_t VerifyWrittenFiles = 0x40000;
inline constexpr uint32_t ClearAttributesOnRetry = 0x80000;
inline constexpr uint32_t DetailedLog = 0x100000;
inline constexpr uint32_t DisableCancel = 0x200000;
inline constexpr uint32_t NoCompletionMessage = 0x400000;
inline constexpr uint32_t HidePreInstallBatch = 0x800000;
inline constexpr uint32_t HidePostInstallBatch = 0x1000000;
inline constexpr uint32_t HideExitBatch = 0x2000000;
inline constexpr uint32_t HideUninstallBatch1 = 0x4000000;
inline constexpr uint32_t HideUninstallBatch2 = 0x8000000;
inline constexpr uint32_t NoOverwriteQuestion = 0x10000000;
inline constexpr uint32_t NoBackgroundWindow = 0x20000000;
inline constexpr uint32_t ConfirmInstallDirectory = 0x80000000;
}  // namespace flag

// Bits of the second flag word, `flags2`.
namespace flag2 {
inline constexpr uint32_t VerifyInstallerChecksum = 0x1;          // check exe_sum
inline constexpr uint32_t UninstallerShortcutOnDesktop = 0x2;
inline constexpr uint32_t ErrorsInAutomaticMode = 0x8;
inline constexpr uint32_t CompareVersions = 0x10;
inline constexpr uint32_t RefuseNetworkDirectory = 0x20;
inline constexpr uint32_t UninstallerShortcutInUninstallDirectory = 0x40;
inline constexpr uint32_t FullScreenBackground = 0x100;
inline constexpr uint32_t RestartQuestionInAutomaticMode = 0x200;
inline constexpr uint32_t FixedTitleInLanguageDialog = 0x400;
}  // namespace flag2

// Values of `shortcut_mode`: whose start menu and desktop receive the shortcuts.
namespace shortcut_mode {
inline constexpr uint8_t CurrentUser = 0;
inline constexpr uint8_t AllUsers = 1;
}  // namespace shortcut_mode

// Values of `stretch_mode`: how the background picture fills its box.
namespace stretch_mode {
inline constexpr int32_t Stretch = 0;  // fill the box exactly, proportions ignored
inline constexpr int32_t Fit = 1;      // as large as fits, proportions kept, centred
inline constexpr int32_t Zoom = 2;     // the largest whole factor that fits, centred
}  // namespace stretch_mode

// Values of `title_position`: where the background window's title stands.
namespace title_position {
inline constexpr uint8_t None = 0;  // no title
inline constexpr uint8_t TopLeft = 1;
inline constexpr uint8_t TopCentre = 2;
inline constexpr uint8_t TopRight = 3;
inline constexpr uint8_t BottomLeft = 4;
inline constexpr uint8_t BottomCentre = 5;
inline constexpr uint8_t BottomRight = 6;
}  // namespace title_position

// Operating-system classes: the bits of `excluded_systems`, one per class told apart.
namespace os_class {
inline constexpr uint32_t Unrecognised = 1;  // any system none of the others describes
inline constexpr uint32_t Win32s = 2;
inline constexpr uint32_t Windows95 = 4;
inline constexpr uint32_t Windows98 = 8;
inline constexpr uint32_t WindowsMe = 16;
inline constexpr uint32_t Nt3 = 32;  // NT 3.x and earlier
inline constexpr uint32_t Nt4 = 64;
inline constexpr uint32_t Windows2000 = 128;
inline constexpr uint32_t WindowsXp = 256;
inline constexpr uint32_t Nt52 = 512;  // NT 5.2 (Server 2003, XP x64)
}  // namespace os_class

// Values of `data_placement`: where the archive data lies.
namespace data_placement {
inline constexpr uint8_t InImage = 0;  // inside the archive section
inline constexpr uint8_t InFile = 1;   // any other value: after the image, at the end of the file
}  // namespace data_placement

// Limits the reader checks, and the end marker.
namespace settings_limit {
inline constexpr int32_t MaxMinStatusTime = 9999;   // milliseconds
inline constexpr int32_t MaxBitmapSize = 100;       // per cent
inline constexpr int32_t MaxLicenceCount = 20;
inline constexpr int32_t MaxReadmeCount = 20;
// A rule read while more than this many are held is refused, so a list holds 1001.
inline constexpr int32_t MaxDeletionRulesHeld = 1000;
inline constexpr int32_t MaxAssociationCount = 10000;
inline constexpr int32_t MaxUninstallValueCount = 10000;
}  // namespace settings_limit
inline constexpr uint32_t kSettingsEndMarker = 0xD3E82B97u;

// Every setting of the header block, numbered in stored order. The reader fills the
// fields as stored; `apply_settings_defaults` then completes them (noted "default").
struct Settings {
  uint32_t flags = 0;                       // 1  (with flags2)
  uint32_t flags2 = 0;
  uint16_t min_status_time = 0;             // 2  0..9999 ms each progress status stays
  uint8_t shortcut_mode = 0;                // 3  1: shortcuts for all users
  core::FileTime uninstaller_stamp;         // 4  the uninstaller program's time stamp
  core::String publisher;                   // 5
  core::String stored_product_name;         // 6  see product_name
  core::String shared_path;                 // 7  default; resolved; cleared without UninstallSupport
  core::String start_menu_folder;           // 8  default
  core::String default_install_dir;         // 9  default; "<os>", variables; resolved
  core::String product_version;             // 10
  core::String product_registry;            // 11
  int32_t bitmap_size = 0;                  // 12 0..100
  int32_t stretch_mode = 0;                 // 13
  core::Array<core::String> licence_texts;  // 14 count 0..20, then the texts
  core::Array<core::String> readme_texts;   // 15 count 0..20, then the texts
  core::String uninstall_subdir;            // 16
  core::String volume_base_name;            // 17 must not be blank
  core::String uninstaller_name;            // 18
  core::String uninstall_key;               // 19 default
  int32_t title_color = 0;                  // 20
  uint8_t title_shadow = 0;                 // 21
  uint8_t title_position = 0;               // 22
  core::String title_font;                  // 23
  int32_t top_color = 0;                    // 24
  int32_t bottom_color = 0;                 // 25
  core::String bitmap;                      // 26 length, then the bitmap file's bytes
  core::String master_product;              // 27 stored only with flag::AddOn; default
  core::String desktop_folder;              // 28
  core::String desktop_folder_icon;         // 29 the icon file's bytes (4-byte length)
  core::String pre_install_batch;           // 30
  core::String post_install_batch;          // 31
  core::String exit_batch;                  // 32
  core::String uninstall_batch_1;           // 33
  core::String uninstall_batch_2;           // 34
  core::CalendarDate reserved;              // 35 read to keep the stream aligned; unused
  int32_t excluded_systems = 0;             // 36 operating-system classes refused
  uint8_t data_placement = 0;               // 37 0: archive data in the image, else in the file
  int32_t first_volume_id = 0;              // 38
  UninstallerPatch uninstaller_patch;       // 39 stored only with flag::UninstallSupport
  core::Array<FileDeletion> deletion_rules;             // 40 up to "~~THE END~~"
  core::Array<FileAssociation> file_associations;       // 41 count 0..10000, then records
  core::Array<UninstallData> uninstall_values;          // 42 count 0..10000, then records
  LanguageTables languages;                 // 43
  //                                           44 the end marker, kSettingsEndMarker

  // Not stored: the product name in use, the /n: override or else stored_product_name.
  // Set by apply_settings_defaults.
  core::String product_name;

  // Every field equal (the language tables as LanguageTables compares them).
  bool operator==(const Settings&) const = default;
};

// Reads entry 1, the flag words (the driver reads them first, checks the block's
// checksum, then reads the rest). A block too short for them gives BadEndMarker.
CorruptCode read_settings_flags(MemoryStream& stream, Settings& settings);

// Reads entries 2 to 44 as stored, with every check; `file_size` is the executable's
// size, which bounds the uninstaller patch offset. Returns the first failed check's code
// (None when all pass); the fields are then partly filled. A read past the end of the
// block gives BadEndMarker, the code of a block that does not end where it should.
CorruptCode read_stored_settings(MemoryStream& stream, int64_t file_size, Settings& settings);

// Entries 1 to 44 as stored, with every check (no checksum, no defaults): the whole
// block as tools read it.
CorruptCode read_all_stored_settings(MemoryStream& stream, int64_t file_size, Settings& settings);

// Completes stored settings: the product name (the override when it is not empty), the
// defaults of blank or empty texts, "<os>" and directory variables in the default
// installation directory, its resolution against the program files directory and that of
// the shared path against the common files directory (which is then created). Run once.
void apply_settings_defaults(Settings& settings, const core::String& product_name_override,
                             Environment& environment);

// read_stored_settings, then (when it passes) apply_settings_defaults.
CorruptCode read_settings(MemoryStream& stream, int64_t file_size, const core::String& product_name_override,
                          Environment& environment, Settings& settings);

// Writes entries 1 to 44 as stored, the exact inverse of read_settings_flags followed by
// read_stored_settings. Fields that their flags leave out (master_product without AddOn,
// uninstaller_patch without UninstallSupport, patch bytes without an offset) are not
// written. Everything else is written even when invalid, so damaged blocks can be made on
// purpose; the result is the code reading it back would give: None, the first failed
// check, or BadEndMarker for a value the block cannot hold (a zero byte inside a
// zero-terminated text, a rule named like the list's end, an inconsistent string table).
CorruptCode write_settings(MemoryStream& stream, const Settings& settings);

}  // namespace archive
