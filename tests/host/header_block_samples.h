// Random settings, language tables and file-table records for the header-block tests.
#pragma once

#include <stdint.h>

#include <random>
#include <string>
#include <vector>

#include "archive/file_entry.h"
#include "archive/language_tables.h"
#include "archive/memory_stream.h"
#include "archive/settings.h"
#include "core/string.h"

namespace samples {

inline core::String str(const std::string& s) {
  core::String out;
  out.append(s.data(), static_cast<int32_t>(s.size()));
  return out;
}

inline std::string std_of(const core::String& s) { return std::string(s.text(), static_cast<size_t>(s.length())); }

inline std::vector<uint8_t> bytes_of(archive::MemoryStream& stream) {
  const uint8_t* p = stream.data();
  return std::vector<uint8_t>(p, p + stream.size());
}

class Random {
 public:
  explicit Random(uint32_t seed) : engine_(seed) {}

  uint32_t u32() { return static_cast<uint32_t>(engine_()); }
  int32_t i32() { return static_cast<int32_t>(u32()); }
  // 0..n-1
  int32_t below(int32_t n) { return static_cast<int32_t>(u32() % static_cast<uint32_t>(n)); }
  bool coin() { return (u32() & 1) != 0; }

  // Any bytes but zero, sometimes empty, sometimes with line ends and placeholders.
  // A name the file table accepts: letters, digits, blanks and Windows-1252 bytes, in one
  // to three components.
  std::string file_name() {
    static const char kChars[] = "abcXYZ019 _-.\xE9\xFC";
    std::string s;
    for (int32_t part = below(3); part >= 0; --part) {
      if (!s.empty()) s += '\\';
      s += 'n';
      for (int32_t n = below(10); n > 0; --n) s += kChars[below(static_cast<int32_t>(sizeof kChars) - 1)];
    }
    return s;
  }

  std::string text(int32_t max_length = 24) {
    static const char* const pieces[] = {"\r\n", " ", "\t", "<product>", "<OS>", "%InstallDir%", "\\", "~~THE"};
    std::string s;
    const int32_t n = below(max_length + 1);
    while (static_cast<int32_t>(s.size()) < n) {
      if (below(6) == 0) {
        s += pieces[below(8)];
      } else {
        s += static_cast<char>(1 + below(255));
      }
    }
    return s;
  }
  // Bytes that may hold zeros (length-prefixed and byte-block fields).
  std::string bytes(int32_t max_length = 40) {
    std::string s(static_cast<size_t>(below(max_length + 1)), '\0');
    for (char& c : s) c = static_cast<char>(below(256));
    return s;
  }
  // A text with CR LF line ends only, as the language tables keep them.
  std::string normalised_text() {
    std::string s = text();
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
      if (s[i] == '\r' || s[i] == '\n') {
        out += "\r\n";
        if (i + 1 < s.size() && (s[i + 1] == '\r' || s[i + 1] == '\n') && s[i + 1] != s[i]) ++i;
      } else {
        out += s[i];
      }
    }
    return out;
  }

 private:
  std::mt19937 engine_;
};

inline void fill_tables(Random& r, archive::LanguageTables& tables, int32_t languages, int32_t strings) {
  tables.reset(languages, strings);
  for (int32_t l = 0; l < languages; ++l) tables.set_language_name(l, str(r.coin() ? "English" : r.text(12)));
  for (int32_t id = 0; id < strings; ++id)
    for (int32_t l = 0; l < languages; ++l) tables.set_text(id, l, str(r.normalised_text()));
}

// Settings that pass every check; flag-dependent fields are set only where stored.
inline archive::Settings random_settings(Random& r) {
  archive::Settings s;
  s.flags = r.u32();
  s.flags2 = r.u32();
  s.min_status_time = static_cast<uint16_t>(r.below(10000));
  s.shortcut_mode = static_cast<uint8_t>(r.below(256));
  s.uninstaller_stamp = {r.i32(), r.i32(), r.i32(), r.i32(), r.i32(), r.i32()};
  s.publisher = str(r.text());
  s.stored_product_name = str(r.text());
  s.shared_path = str(r.text());
  s.start_menu_folder = str(r.text());
  s.default_install_dir = str(r.text());
  s.product_version = str(r.text());
  s.product_registry = str(r.text());
  s.bitmap_size = r.below(101);
  s.stretch_mode = r.i32();
  for (int32_t i = r.below(21); i > 0; --i) s.licence_texts.append(str(r.text(200)));
  for (int32_t i = r.below(21); i > 0; --i) s.readme_texts.append(str(r.text(200)));
  s.uninstall_subdir = str(r.text());
  s.volume_base_name = str("v" + r.text());
  s.uninstaller_name = str(r.text());
  s.uninstall_key = str(r.text());
  s.title_color = r.i32();
  s.title_shadow = static_cast<uint8_t>(r.u32());
  s.title_position = static_cast<uint8_t>(r.u32());
  s.title_font = str(r.text());
  s.top_color = r.i32();
  s.bottom_color = r.coin() ? s.top_color : r.i32();
  s.bitmap = str(r.bytes(300));
  if (s.flags & archive::flag::AddOn) s.master_product = str(r.text());
  s.desktop_folder = str(r.text());
  s.desktop_folder_icon = str(r.bytes(100));
  s.pre_install_batch = str(r.text(100));
  s.post_install_batch = str(r.text(100));
  s.exit_batch = str(r.text(100));
  s.uninstall_batch_1 = str(r.text(100));
  s.uninstall_batch_2 = str(r.text(100));
  s.reserved = {r.i32(), r.i32(), r.i32(), r.i32(), r.i32()};
  s.excluded_systems = r.i32();
  s.data_placement = static_cast<uint8_t>(r.u32());
  s.first_volume_id = r.i32();
  if (s.flags & archive::flag::UninstallSupport) {
    s.uninstaller_patch.offset = r.coin() ? 0 : r.below(1 << 20);
    if (s.uninstaller_patch.offset > 0) s.uninstaller_patch.bytes = str(r.bytes(64));
  }
  for (int32_t i = r.below(8); i > 0; --i) {
    archive::FileDeletion rule;
    rule.specification = str(r.text());
    rule.condition = static_cast<uint8_t>(r.below(256));
    rule.value = str(r.text());
    rule.flags = r.i32();
    s.deletion_rules.append(rule);
  }
  for (int32_t i = r.below(6); i > 0; --i) {
    archive::FileAssociation a;
    a.flags = r.i32();
    a.extension = str(r.text(6));
    a.file_type = str(r.text());
    a.description = str(r.text());
    a.verb = str(r.text());
    a.verb_text = str(r.text());
    a.command = str(r.text());
    a.language = str(r.text(10));
    a.icon = str(r.text());
    s.file_associations.append(a);
  }
  for (int32_t i = r.below(6); i > 0; --i) {
    archive::UninstallData v;
    v.name = str(r.text());
    v.type = static_cast<uint8_t>(r.below(256));
    v.data = str(r.text());
    s.uninstall_values.append(v);
  }
  fill_tables(r, s.languages, 1 + r.below(4), 1 + r.below(80));
  return s;
}

inline archive::FileEntry random_entry(Random& r, const std::string& data) {
  archive::FileEntry e;
  e.name = str(r.file_name());
  e.kind = r.coin() ? static_cast<uint32_t>(r.below(10)) : r.u32();
  e.flags = r.u32();
  e.attributes = r.coin() ? archive::kKeepAttributes : r.i32();
  e.data = reinterpret_cast<const uint8_t*>(data.data());
  e.data_size = static_cast<int32_t>(data.size());
  archive::seal_file_entry(e);
  e.time = {r.i32(), r.i32(), r.i32(), r.i32(), r.i32(), r.i32()};
  e.text = str(r.text());
  if (e.flags & archive::file_flag::ShortcutMask) e.icon = str(r.text());
  e.arguments = str(r.text());
  switch (r.below(3)) {
    case 0: break;
    case 1: e.destination = str(r.file_name()); break;  // a new name
    default: e.destination = str("%InstallDir%\\" + r.file_name() + (r.coin() ? "\\" : "")); break;
  }
  e.working_directory = str(r.text());
  // Kinds without a directory of their own get a destination path.
  if (archive::default_directory(e.kind) == archive::DefaultDirectory::None &&
      !(e.flags & archive::file_flag::InUninstallDir))
    e.destination = str("%SystemDir%\\" + r.file_name());
  return e;
}

}  // namespace samples
