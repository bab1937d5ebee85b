// Readable forms of the settings: JSON for tools and text for people.
#include "qvin/commands/settings_report.h"

#include <cstdio>

#include "archive/checksum.h"
#include "qvin/project/flag_names.h"
#include "qvin/project/settings_keys.h"
#include "qvin/project/source_times.h"
#include "qvin/project/text_encoding.h"

namespace qvin {

std::string colour_text(int32_t c) {
  const auto v = static_cast<uint32_t>(c);
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
  return buf;
}

std::string kind_text(uint32_t kind) {
  const auto name = name_of(destination_kind_names(), kind);
  return name ? std::string(*name) : std::to_string(kind);
}

namespace {

using S = archive::Settings;
namespace file_flag = archive::file_flag;

std::string u(const core::String& cp1252) { return utf8_of(cp1252); }

Json code_json(std::span<const CodeName> table, uint32_t code) {
  const auto name = name_of(table, code);
  return name ? Json(std::string(*name)) : Json(code);
}

std::string code_text(std::span<const CodeName> table, int64_t code) {
  const auto name = name_of(table, static_cast<uint32_t>(code));
  return name ? std::string(*name) : std::to_string(code);
}

// A file held in the settings, by length and checksum.
Json blob_json(const core::String& bytes) {
  Json j = Json::object();
  j.set("size", static_cast<int64_t>(bytes.length()));
  j.set("checksum", archive::archive_checksum(bytes.text(), bytes.length()));
  return j;
}

Json texts_json(const core::Array<core::String>& texts) {
  Json a = Json::array();
  for (int32_t i = 0; i < texts.count(); ++i) a.push(u(texts[i]));
  return a;
}

// The names of the bits of `bits` in table order; `unnamed` receives the bits left over.
std::vector<std::string> bit_names(std::span<const CodeName> table, uint32_t bits, uint32_t& unnamed) {
  std::vector<std::string> names;
  unnamed = bits;
  for (const auto& c : table)
    if (bits & c.code) {
      names.push_back(std::string(c.name));
      unnamed &= ~c.code;
    }
  return names;
}

const core::String& text_of(const SettingKey& key, const S& s) { return s.*std::get<core::String S::*>(key.field); }

Json setting_json(const SettingKey& key, const S& s) {
  switch (key.type) {
    case KeyType::Text: return u(text_of(key, s));
    case KeyType::Number: return setting_number(key, s);
    case KeyType::Colour: return colour_text(static_cast<int32_t>(setting_number(key, s)));
    case KeyType::Code: return code_json(key.codes(), static_cast<uint32_t>(setting_number(key, s)));
    case KeyType::CodeSet: {
      uint32_t unnamed = 0;
      Json a = Json::array();
      for (auto& name : bit_names(key.codes(), static_cast<uint32_t>(setting_number(key, s)), unnamed)) a.push(name);
      if (unnamed) a.push(unnamed);
      return a;
    }
    case KeyType::Time: return stored_time_text(s.*std::get<core::FileTime S::*>(key.field));
    case KeyType::File: return text_of(key, s).is_empty() ? Json() : blob_json(text_of(key, s));
  }
  return Json();
}

// The value as `qvin info` prints it; empty for nothing worth a line.
std::string setting_text(const SettingKey& key, const S& s) {
  switch (key.type) {
    case KeyType::Text: {
      // Texts of several lines (the batches) are shown by size, to keep one line a key.
      const core::String& text = text_of(key, s);
      if (from_core(text).find_first_of("\r\n") != std::string::npos)
        return std::to_string(text.length()) + " bytes";
      return u(text);
    }
    case KeyType::Number: return std::to_string(setting_number(key, s));
    case KeyType::Colour: return colour_text(static_cast<int32_t>(setting_number(key, s)));
    case KeyType::Code: return code_text(key.codes(), setting_number(key, s));
    case KeyType::CodeSet: {
      uint32_t unnamed = 0;
      std::string text;
      for (auto& name : bit_names(key.codes(), static_cast<uint32_t>(setting_number(key, s)), unnamed))
        text += (text.empty() ? "" : ", ") + name;
      if (unnamed) text += (text.empty() ? "" : ", ") + std::to_string(unnamed);
      return text;
    }
    case KeyType::Time: return stored_time_text(s.*std::get<core::FileTime S::*>(key.field));
    case KeyType::File:
      return text_of(key, s).is_empty() ? std::string() : std::to_string(text_of(key, s).length()) + " bytes";
  }
  return {};
}

// The sections of the settings table, in table order.
std::vector<std::string_view> setting_sections() {
  std::vector<std::string_view> sections;
  for (const SettingKey& key : setting_keys())
    if (sections.empty() || sections.back() != key.section) sections.push_back(key.section);
  return sections;
}

}  // namespace

std::string destination_text(const archive::FileEntry& e) {
  std::string name = from_core(e.name), destination = from_core(e.destination);
  if (e.renames()) {
    name = destination;  // a bare name renames the file
    destination.clear();
  }
  if (!destination.empty()) {
    if (destination.back() == '\\') {
      const size_t cut = name.find_last_of("\\:");
      destination += cut == std::string::npos ? name : name.substr(cut + 1);
    }
    return cp1252_to_utf8(destination);
  }
  std::string dir;
  if (e.flags & file_flag::InUninstallDir) {
    dir = "%UninstallDir%";
  } else {
    switch (archive::default_directory(e.kind)) {
      case archive::DefaultDirectory::Install: dir = "%InstallDir%"; break;
      case archive::DefaultDirectory::Shared: dir = "%SharedDir%"; break;
      case archive::DefaultDirectory::Font: dir = "%FontDir%"; break;
      case archive::DefaultDirectory::System: dir = "%SystemDir%"; break;
      case archive::DefaultDirectory::None: dir = "(no directory)"; break;
    }
  }
  return cp1252_to_utf8(dir + "\\" + name);
}

Json file_json(const FileRecord& r) {
  const archive::FileEntry& e = r.entry;
  Json j = Json::object();
  j.set("name", u(e.name));
  j.set("kind", code_json(destination_kind_names(), e.kind));
  j.set("size", static_cast<int64_t>(r.data.size()));
  j.set("checksum", e.checksum);
  j.set("time", stored_time_text(e.time));
  j.set("destination", u(e.destination));
  j.set("installs_to", destination_text(e));
  j.set("existence", code_json(existence_names(), e.flags & file_flag::ExistenceMask));
  j.set("permanent", (e.flags & file_flag::Permanent) != 0);
  j.set("in_uninstall_directory", (e.flags & file_flag::InUninstallDir) != 0);
  j.set("desktop_shortcut", (e.flags & file_flag::DesktopShortcut) != 0);
  j.set("start_menu_shortcut", (e.flags & file_flag::StartMenuShortcut) != 0);
  if (e.attributes == archive::kKeepAttributes) {
    j.set("attributes", "keep");
  } else {
    Json a = Json::array();
    for (const auto& c : attribute_names())
      if (static_cast<uint32_t>(e.attributes) & c.code) a.push(std::string(c.name));
    j.set("attributes", a);
  }
  const archive::EntryText text = archive::entry_text(e.kind);
  const char* text_key = text == archive::EntryText::FontName  ? "font_name"
                         : text == archive::EntryText::Version ? "version"
                                                               : "shortcut_name";
  j.set(text_key, u(e.text));
  j.set("shortcut_icon", u(e.icon));
  j.set("arguments", u(e.arguments));
  j.set("working_directory", u(e.working_directory));
  return j;
}

Json settings_json(const S& s) {
  Json root = Json::object();
  for (const std::string_view section : setting_sections()) {
    Json j = Json::object();
    for (const SettingKey& key : setting_keys())
      if (key.section == section) j.set(std::string(key.key), setting_json(key, s));
    if (section == "archive") {
      if (s.uninstaller_patch.offset != 0) {
        Json patch = blob_json(s.uninstaller_patch.bytes);
        patch.set("offset", s.uninstaller_patch.offset);
        j.set("uninstaller_patch", patch);
      } else {
        j.set("uninstaller_patch", Json());
      }
    }
    root.set(std::string(section), j);
  }

  Json texts = Json::object();
  texts.set("licence", texts_json(s.licence_texts));
  texts.set("readme", texts_json(s.readme_texts));
  root.set("texts", texts);

  Json flags = Json::object();
  for (const auto& f : flag_names())
    flags.set(std::string(f.name), ((f.word == 1 ? s.flags : s.flags2) & f.bit) != 0);
  root.set("flags", flags);

  Json deletions = Json::array();
  for (int32_t i = 0; i < s.deletion_rules.count(); ++i) {
    const archive::FileDeletion& d = s.deletion_rules[i];
    Json j = Json::object();
    j.set("files", u(d.specification));
    j.set("condition", code_json(deletion_condition_names(), d.condition));
    j.set("value", u(d.value));
    j.set("delete_at_restart", (d.flags & archive::deletion_flag::DeleteAtRestart) != 0);
    deletions.push(j);
  }
  root.set("deletions", deletions);

  Json associations = Json::array();
  for (int32_t i = 0; i < s.file_associations.count(); ++i) {
    const archive::FileAssociation& a = s.file_associations[i];
    Json j = Json::object();
    j.set("extension", u(a.extension));
    j.set("file_type", u(a.file_type));
    j.set("description", u(a.description));
    j.set("verb", u(a.verb));
    j.set("verb_text", u(a.verb_text));
    j.set("command", u(a.command));
    j.set("icon", u(a.icon));
    j.set("language", u(a.language));
    j.set("default_verb", (a.flags & archive::association_flag::DefaultVerb) != 0);
    associations.push(j);
  }
  root.set("associations", associations);

  Json values = Json::array();
  for (int32_t i = 0; i < s.uninstall_values.count(); ++i) {
    const archive::UninstallData& v = s.uninstall_values[i];
    Json j = Json::object();
    j.set("name", u(v.name));
    j.set("type", code_json(uninstall_value_type_names(), v.type));
    j.set("data", u(v.data));
    values.push(j);
  }
  root.set("uninstall_values", values);

  Json languages = Json::array();
  for (int32_t l = 0; l < s.languages.language_count(); ++l) {
    Json j = Json::object();
    j.set("name", u(s.languages.language_name(l)));
    Json strings = Json::object();
    for (int32_t id = 0; id < s.languages.string_count(); ++id)
      strings.set(std::to_string(id), u(s.languages.stored(id, l)));
    j.set("strings", strings);
    languages.push(j);
  }
  root.set("languages", languages);
  return root;
}

void print_settings(std::ostream& out, const S& s) {
  auto line = [&](std::string_view key, const std::string& value) {
    if (!value.empty()) out << "  " << key << ": " << value << "\n";
  };
  for (const std::string_view section : setting_sections()) {
    out << section << ":\n";
    for (const SettingKey& key : setting_keys())
      if (key.section == section) line(key.key, setting_text(key, s));
    if (section == "archive" && s.uninstaller_patch.offset != 0)
      line("uninstaller_patch", std::to_string(s.uninstaller_patch.bytes.length()) + " bytes at offset " +
                                    std::to_string(s.uninstaller_patch.offset));
  }
  out << "texts:\n";
  line("licence", std::to_string(s.licence_texts.count()) + " text(s)");
  line("readme", std::to_string(s.readme_texts.count()) + " text(s)");
  out << "flags:\n";
  for (const auto& f : flag_names())
    if ((f.word == 1 ? s.flags : s.flags2) & f.bit) out << "  " << f.name << "\n";
}

}  // namespace qvin
