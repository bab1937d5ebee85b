// The tool's model of an installer: every setting by name, the file table and the
// build options. Texts are Windows-1252 bytes, as the archive stores them.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qvin {

// A date and time as the archive keeps it: local wall-clock fields; month 0 means no
// date, a negative hour no time of day.
struct StoredTime {
  int32_t year = 0, month = 0, day = 0, hour = -1, minute = 0, second = 0;
  bool has_date() const { return month != 0; }
  bool has_time() const { return hour >= 0; }
  bool operator==(const StoredTime&) const = default;
};

// One deletion rule: files named by `specification`, deleted under `condition`.
struct DeletionRule {
  std::string specification;
  uint8_t condition = 0;  // 0 none, 1..3 date, 4..6 size
  std::string value;      // date-time text or size in bytes
  int32_t flags = 0;      // 0x2: delete at the next restart when busy
  bool operator==(const DeletionRule&) const = default;
};

// One file association.
struct Association {
  int32_t flags = 0;  // 0x1: the verb becomes the type's default verb
  std::string extension, file_type, description, verb, verb_text, command, language, icon;
  bool operator==(const Association&) const = default;
};

// One extra value of the uninstall key.
struct UninstallValue {
  std::string name;
  uint8_t type = 1;  // 2 expandable text, 4 number, anything else text
  std::string data;
  bool operator==(const UninstallValue&) const = default;
};

// One language: its name and its strings by id (an empty string where unused).
struct Language {
  std::string name;
  std::vector<std::string> strings;
  bool operator==(const Language&) const = default;
};

// Every setting of the header block, in stored order.
struct InstallerSettings {
  uint32_t flags = 0;
  uint32_t flags2 = 0;
  uint16_t min_status_time = 0;
  uint8_t shortcut_mode = 0;
  StoredTime uninstaller_stamp;
  std::string publisher;
  std::string product_name;
  std::string shared_path;
  std::string start_menu_folder;
  std::string default_install_dir;
  std::string product_version;
  std::string product_registry;
  int32_t bitmap_size = 0;
  int32_t stretch_mode = 2;
  std::vector<std::string> licences;
  std::vector<std::string> readmes;
  std::string uninstall_subdir;
  std::string volume_base_name;
  std::string uninstaller_name;
  std::string uninstall_key;
  int32_t title_color = 0;
  uint8_t title_shadow = 1;
  uint8_t title_position = 0;
  std::string title_font;
  int32_t top_color = 0;
  int32_t bottom_color = 0;
  std::string bitmap;  // the bitmap image as stored
  std::string master_product;
  std::string desktop_folder;
  std::string desktop_folder_icon;  // the icon file's bytes
  std::string pre_install_batch;
  std::string post_install_batch;
  std::string exit_batch;
  std::string uninstall_batch_1;
  std::string uninstall_batch_2;
  std::array<uint8_t, 20> reserved{};
  int32_t excluded_systems = 0;
  uint8_t data_placement = 0;
  int32_t first_volume_id = 0;
  int32_t uninstaller_patch_offset = 0;
  std::string uninstaller_patch;
  std::vector<DeletionRule> deletions;
  std::vector<Association> associations;
  std::vector<UninstallValue> uninstall_values;
  std::vector<Language> languages;
};

// One record of the file table with its data.
struct FileRecord {
  std::string name;  // stored name, relative to the destination directory
  uint32_t kind = 0;
  uint32_t flags = 0;
  int32_t attributes = -1;
  std::string data;
  uint32_t checksum = 0;
  StoredTime time;
  std::string text;  // version, font face or shortcut name, by kind
  std::string icon;  // stored only when the entry asks for a shortcut (flags & 3)
  std::string arguments;
  std::string destination;
  std::string working_dir;
};

// Bits of a file-table record's flag word.
inline constexpr uint32_t kFileDesktopShortcut = 0x01;
inline constexpr uint32_t kFileStartMenuShortcut = 0x02;
inline constexpr uint32_t kFileExistenceMask = 0x0C;
inline constexpr uint32_t kFilePermanent = 0x20;
inline constexpr uint32_t kFileInUninstallDir = 0x40;

// A [[files]] entry as written: which sources, and what their records say.
struct FileRule {
  std::string where;  // "FILE:LINE:COL" of the entry, for messages
  std::vector<std::string> sources;  // paths or glob patterns, relative to the project
  bool recursive = false;
  std::optional<std::string> name;   // stored name of a single file
  std::string subdirectory;          // put in front of every stored name
  uint32_t kind = 0;
  uint32_t flags = 0;
  int32_t attributes = -1;
  std::string shortcut_name;
  std::string font_name;
  std::string icon;
  std::string arguments;
  std::string destination;
  std::string working_dir;
  std::optional<std::string> version;  // overrides the version resource
  std::optional<StoredTime> time;      // overrides the file's time stamp
  std::optional<uint32_t> checksum;    // overrides the computed checksum
  std::optional<int64_t> size;         // cuts or zero-pads the data to this size
};

// A project: the settings, the file rules and the build choices.
struct Project {
  std::filesystem::path file;      // the project file
  std::filesystem::path base_dir;  // sources, texts and pictures are relative to it
  InstallerSettings settings;
  std::vector<FileRule> files;
  int compression_level = 6;
  int64_t volume_size = 0;  // 0: no volume files
  bool volume_base_name_given = false;
  bool first_volume_id_given = false;
  bool uninstaller_stamp_given = false;
  uint32_t flags_given = 0;   // bits of `flags` the [flags] table set explicitly
  uint32_t flags2_given = 0;  // likewise for `flags2`
};

}  // namespace qvin
