// Readable forms of the settings: JSON for tools and text for people.
#include "qvin/settings_report.h"

#include <cstdio>

#include "archive/checksum.h"
#include "qvin/flag_names.h"
#include "qvin/text_encoding.h"

namespace qvin {

std::string stored_time_text(const StoredTime& t) {
  if (!t.has_date()) return "none";
  char buf[64];
  if (t.has_time())
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  else
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", t.year, t.month, t.day);
  return buf;
}

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

std::string u(const std::string& cp1252) { return cp1252_to_utf8(cp1252); }

Json code_json(std::span<const CodeName> table, uint32_t code) {
  const auto name = name_of(table, code);
  return name ? Json(std::string(*name)) : Json(code);
}

// A file held in the settings, by length and checksum.
Json blob_json(const std::string& bytes) {
  Json j = Json::object();
  j.set("size", static_cast<int64_t>(bytes.size()));
  j.set("checksum", archive::archive_checksum(bytes.data(), static_cast<int64_t>(bytes.size())));
  return j;
}

Json texts_json(const std::vector<std::string>& texts) {
  Json a = Json::array();
  for (const auto& t : texts) a.push(u(t));
  return a;
}

}  // namespace

std::string destination_text(const FileRecord& r) {
  std::string name = r.name, destination = r.destination;
  if (!destination.empty() && destination.find('\\') == std::string::npos) {
    name = destination;  // a bare name renames the file
    destination.clear();
  }
  if (!destination.empty()) {
    if (destination.back() == '\\') {
      const size_t cut = name.find_last_of("\\:");
      destination += cut == std::string::npos ? name : name.substr(cut + 1);
    }
    return u(destination);
  }
  std::string dir;
  if (r.flags & kFileInUninstallDir) dir = "%UninstallDir%";
  else if (r.kind == 0 || r.kind == 5 || r.kind == 9) dir = "%InstallDir%";
  else if (r.kind == 1) dir = "%SharedDir%";
  else if (r.kind == 4) dir = "%FontDir%";
  else if (r.kind >= 6 && r.kind <= 8) dir = "%SystemDir%";
  else dir = "(no directory)";
  return u(dir + "\\" + name);
}

Json file_json(const FileRecord& r) {
  Json j = Json::object();
  j.set("name", u(r.name));
  j.set("kind", code_json(destination_kind_names(), r.kind));
  j.set("size", static_cast<int64_t>(r.data.size()));
  j.set("checksum", r.checksum);
  j.set("time", stored_time_text(r.time));
  j.set("destination", u(r.destination));
  j.set("installs_to", destination_text(r));
  j.set("existence", code_json(existence_names(), r.flags & kFileExistenceMask));
  j.set("permanent", (r.flags & kFilePermanent) != 0);
  j.set("in_uninstall_directory", (r.flags & kFileInUninstallDir) != 0);
  j.set("desktop_shortcut", (r.flags & kFileDesktopShortcut) != 0);
  j.set("start_menu_shortcut", (r.flags & kFileStartMenuShortcut) != 0);
  if (r.attributes == -1) {
    j.set("attributes", "keep");
  } else {
    Json a = Json::array();
    for (const auto& c : attribute_names())
      if (static_cast<uint32_t>(r.attributes) & c.code) a.push(std::string(c.name));
    j.set("attributes", a);
  }
  const char* text_key = r.kind == 4 ? "font_name" : (r.kind >= 6 && r.kind <= 9) ? "version" : "shortcut_name";
  j.set(text_key, u(r.text));
  j.set("shortcut_icon", u(r.icon));
  j.set("arguments", u(r.arguments));
  j.set("working_directory", u(r.working_dir));
  return j;
}

Json settings_json(const InstallerSettings& s) {
  Json root = Json::object();
  Json product = Json::object();
  product.set("name", u(s.product_name));
  product.set("version", u(s.product_version));
  product.set("publisher", u(s.publisher));
  product.set("registry_key", u(s.product_registry));
  product.set("uninstall_key", u(s.uninstall_key));
  product.set("master_product", u(s.master_product));
  root.set("product", product);

  Json install = Json::object();
  install.set("directory", u(s.default_install_dir));
  install.set("start_menu_folder", u(s.start_menu_folder));
  install.set("shared_path", u(s.shared_path));
  install.set("uninstall_subdir", u(s.uninstall_subdir));
  install.set("uninstaller_name", u(s.uninstaller_name));
  install.set("shortcut_mode", s.shortcut_mode == 1 ? Json("all-users") : s.shortcut_mode == 0 ? Json("current-user") : Json(static_cast<int>(s.shortcut_mode)));
  install.set("min_status_time", static_cast<int>(s.min_status_time));
  Json systems = Json::array();
  uint32_t unnamed = static_cast<uint32_t>(s.excluded_systems);
  for (const auto& c : system_class_names())
    if (unnamed & c.code) {
      systems.push(std::string(c.name));
      unnamed &= ~c.code;
    }
  if (unnamed) systems.push(unnamed);
  install.set("excluded_systems", systems);
  install.set("desktop_folder", u(s.desktop_folder));
  install.set("desktop_folder_icon", s.desktop_folder_icon.empty() ? Json() : blob_json(s.desktop_folder_icon));
  install.set("uninstaller_stamp", stored_time_text(s.uninstaller_stamp));
  root.set("install", install);

  Json look = Json::object();
  look.set("title_color", colour_text(s.title_color));
  look.set("top_color", colour_text(s.top_color));
  look.set("bottom_color", colour_text(s.bottom_color));
  look.set("title_shadow", static_cast<int>(s.title_shadow));
  look.set("title_position", code_json(title_position_names(), s.title_position));
  look.set("title_font", u(s.title_font));
  look.set("bitmap", s.bitmap.empty() ? Json() : blob_json(s.bitmap));
  look.set("bitmap_size", s.bitmap_size);
  look.set("stretch_mode", code_json(stretch_mode_names(), static_cast<uint32_t>(s.stretch_mode)));
  root.set("appearance", look);

  Json texts = Json::object();
  texts.set("licence", texts_json(s.licences));
  texts.set("readme", texts_json(s.readmes));
  root.set("texts", texts);

  Json batch = Json::object();
  batch.set("pre_install", u(s.pre_install_batch));
  batch.set("post_install", u(s.post_install_batch));
  batch.set("exit", u(s.exit_batch));
  batch.set("uninstall_1", u(s.uninstall_batch_1));
  batch.set("uninstall_2", u(s.uninstall_batch_2));
  root.set("batch", batch);

  Json archive_j = Json::object();
  archive_j.set("data_placement", s.data_placement == 0 ? Json("image") : s.data_placement == 1 ? Json("file") : Json(static_cast<int>(s.data_placement)));
  archive_j.set("volume_base_name", u(s.volume_base_name));
  archive_j.set("first_volume_id", s.first_volume_id);
  if (s.uninstaller_patch_offset != 0) {
    Json patch = blob_json(s.uninstaller_patch);
    patch.set("offset", s.uninstaller_patch_offset);
    archive_j.set("uninstaller_patch", patch);
  } else {
    archive_j.set("uninstaller_patch", Json());
  }
  root.set("archive", archive_j);

  Json flags = Json::object();
  for (const auto& f : flag_names())
    flags.set(std::string(f.name), ((f.word == 1 ? s.flags : s.flags2) & f.bit) != 0);
  root.set("flags", flags);

  Json deletions = Json::array();
  for (const auto& d : s.deletions) {
    Json j = Json::object();
    j.set("files", u(d.specification));
    j.set("condition", code_json(deletion_condition_names(), d.condition));
    j.set("value", u(d.value));
    j.set("delete_at_restart", (d.flags & 0x2) != 0);
    deletions.push(j);
  }
  root.set("deletions", deletions);

  Json associations = Json::array();
  for (const auto& a : s.associations) {
    Json j = Json::object();
    j.set("extension", u(a.extension));
    j.set("file_type", u(a.file_type));
    j.set("description", u(a.description));
    j.set("verb", u(a.verb));
    j.set("verb_text", u(a.verb_text));
    j.set("command", u(a.command));
    j.set("icon", u(a.icon));
    j.set("language", u(a.language));
    j.set("default_verb", (a.flags & 0x1) != 0);
    associations.push(j);
  }
  root.set("associations", associations);

  Json values = Json::array();
  for (const auto& v : s.uninstall_values) {
    Json j = Json::object();
    j.set("name", u(v.name));
    j.set("type", code_json(uninstall_value_type_names(), v.type));
    j.set("data", u(v.data));
    values.push(j);
  }
  root.set("uninstall_values", values);

  Json languages = Json::array();
  for (const auto& l : s.languages) {
    Json j = Json::object();
    j.set("name", u(l.name));
    Json strings = Json::object();
    for (size_t id = 0; id < l.strings.size(); ++id) strings.set(std::to_string(id), u(l.strings[id]));
    j.set("strings", strings);
    languages.push(j);
  }
  root.set("languages", languages);
  return root;
}

void print_settings(std::ostream& out, const InstallerSettings& s) {
  auto line = [&](const char* key, const std::string& value) {
    if (!value.empty()) out << "  " << key << ": " << value << "\n";
  };
  out << "product:\n";
  line("name", u(s.product_name));
  line("version", u(s.product_version));
  line("publisher", u(s.publisher));
  line("registry_key", u(s.product_registry));
  line("uninstall_key", u(s.uninstall_key));
  line("master_product", u(s.master_product));
  out << "install:\n";
  line("directory", u(s.default_install_dir));
  line("start_menu_folder", u(s.start_menu_folder));
  line("shared_path", u(s.shared_path));
  line("uninstall_subdir", u(s.uninstall_subdir));
  line("uninstaller_name", u(s.uninstaller_name));
  line("shortcut_mode", s.shortcut_mode == 1 ? "all-users" : "current-user");
  line("min_status_time", std::to_string(s.min_status_time) + " ms");
  std::string systems;
  for (const auto& c : system_class_names())
    if (static_cast<uint32_t>(s.excluded_systems) & c.code) systems += (systems.empty() ? "" : ", ") + std::string(c.name);
  line("excluded_systems", systems);
  line("desktop_folder", u(s.desktop_folder));
  if (!s.desktop_folder_icon.empty()) line("desktop_folder_icon", std::to_string(s.desktop_folder_icon.size()) + " bytes");
  line("uninstaller_stamp", stored_time_text(s.uninstaller_stamp));
  out << "appearance:\n";
  line("colours", "title " + colour_text(s.title_color) + ", top " + colour_text(s.top_color) + ", bottom " +
                      colour_text(s.bottom_color));
  const auto position = name_of(title_position_names(), s.title_position);
  line("title", "\"" + u(s.title_font) + "\", " + (position ? std::string(*position) : std::to_string(s.title_position)) +
                    ", shadow " + std::to_string(s.title_shadow));
  if (!s.bitmap.empty()) {
    const auto mode = name_of(stretch_mode_names(), static_cast<uint32_t>(s.stretch_mode));
    line("bitmap", std::to_string(s.bitmap.size()) + " bytes, " + std::to_string(s.bitmap_size) + "%, " +
                       (mode ? std::string(*mode) : std::to_string(s.stretch_mode)));
  }
  out << "texts:\n";
  line("licence", std::to_string(s.licences.size()) + " text(s)");
  line("readme", std::to_string(s.readmes.size()) + " text(s)");
  out << "batch:\n";
  line("pre_install", std::to_string(s.pre_install_batch.size()) + " bytes");
  line("post_install", std::to_string(s.post_install_batch.size()) + " bytes");
  line("exit", std::to_string(s.exit_batch.size()) + " bytes");
  line("uninstall_1", std::to_string(s.uninstall_batch_1.size()) + " bytes");
  line("uninstall_2", std::to_string(s.uninstall_batch_2.size()) + " bytes");
  out << "archive:\n";
  line("data_placement", s.data_placement == 0 ? "image" : "file");
  line("volume_base_name", u(s.volume_base_name));
  line("first_volume_id", std::to_string(s.first_volume_id));
  if (s.uninstaller_patch_offset != 0)
    line("uninstaller_patch", std::to_string(s.uninstaller_patch.size()) + " bytes at offset " +
                                  std::to_string(s.uninstaller_patch_offset));
  out << "flags:\n";
  for (const auto& f : flag_names())
    if ((f.word == 1 ? s.flags : s.flags2) & f.bit) out << "  " << f.name << "\n";
}

}  // namespace qvin
