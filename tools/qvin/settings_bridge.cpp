// Field-by-field copies between the tool's settings and the archive's.
#include "qvin/settings_bridge.h"

#include "qvin/text_encoding.h"

namespace qvin {

core::String to_core(const std::string& bytes) {
  core::String text;
  if (!bytes.empty()) text.append(bytes.data(), static_cast<int32_t>(bytes.size()));
  return text;
}
std::string from_core(const core::String& text) { return std::string(text.text(), static_cast<size_t>(text.length())); }

core::FileTime to_core(const StoredTime& t) {
  core::FileTime f;
  f.year = t.year;
  f.month = t.month;
  f.day = t.day;
  f.hour = t.hour;
  f.minute = t.minute;
  f.second = t.second;
  return f;
}

StoredTime from_core(const core::FileTime& f) { return StoredTime{f.year, f.month, f.day, f.hour, f.minute, f.second}; }

namespace {

template <class T, class F>
void copy_out(const core::Array<T>& from, F&& each) {
  for (int32_t i = 0; i < from.count(); ++i) each(from.at(i));
}

}  // namespace

archive::Settings to_archive_settings(const InstallerSettings& s) {
  archive::Settings a;
  a.flags = s.flags;
  a.flags2 = s.flags2;
  a.min_status_time = s.min_status_time;
  a.shortcut_mode = s.shortcut_mode;
  a.uninstaller_stamp = to_core(s.uninstaller_stamp);
  a.publisher = to_core(s.publisher);
  a.stored_product_name = to_core(s.product_name);
  a.shared_path = to_core(s.shared_path);
  a.start_menu_folder = to_core(s.start_menu_folder);
  a.default_install_dir = to_core(s.default_install_dir);
  a.product_version = to_core(s.product_version);
  a.product_registry = to_core(s.product_registry);
  a.bitmap_size = s.bitmap_size;
  a.stretch_mode = s.stretch_mode;
  for (const auto& t : s.licences) a.licence_texts.append(to_core(t));
  for (const auto& t : s.readmes) a.readme_texts.append(to_core(t));
  a.uninstall_subdir = to_core(s.uninstall_subdir);
  a.volume_base_name = to_core(s.volume_base_name);
  a.uninstaller_name = to_core(s.uninstaller_name);
  a.uninstall_key = to_core(s.uninstall_key);
  a.title_color = s.title_color;
  a.title_shadow = s.title_shadow;
  a.title_position = s.title_position;
  a.title_font = to_core(s.title_font);
  a.top_color = s.top_color;
  a.bottom_color = s.bottom_color;
  a.bitmap = to_core(s.bitmap);
  a.master_product = to_core(s.master_product);
  a.desktop_folder = to_core(s.desktop_folder);
  a.desktop_folder_icon = to_core(s.desktop_folder_icon);
  a.pre_install_batch = to_core(s.pre_install_batch);
  a.post_install_batch = to_core(s.post_install_batch);
  a.exit_batch = to_core(s.exit_batch);
  a.uninstall_batch_1 = to_core(s.uninstall_batch_1);
  a.uninstall_batch_2 = to_core(s.uninstall_batch_2);
  a.excluded_systems = s.excluded_systems;
  a.data_placement = s.data_placement;
  a.first_volume_id = s.first_volume_id;
  a.uninstaller_patch.offset = s.uninstaller_patch_offset;
  a.uninstaller_patch.bytes = to_core(s.uninstaller_patch);
  for (const auto& d : s.deletions) {
    archive::FileDeletion r;
    r.specification = to_core(d.specification);
    r.condition = d.condition;
    r.value = to_core(d.value);
    r.flags = d.flags;
    a.deletion_rules.append(r);
  }
  for (const auto& x : s.associations) {
    archive::FileAssociation r;
    r.flags = x.flags;
    r.extension = to_core(x.extension);
    r.file_type = to_core(x.file_type);
    r.description = to_core(x.description);
    r.verb = to_core(x.verb);
    r.verb_text = to_core(x.verb_text);
    r.command = to_core(x.command);
    r.language = to_core(x.language);
    r.icon = to_core(x.icon);
    a.file_associations.append(r);
  }
  for (const auto& v : s.uninstall_values) {
    archive::UninstallData r;
    r.name = to_core(v.name);
    r.type = v.type;
    r.data = to_core(v.data);
    a.uninstall_values.append(r);
  }
  const int32_t strings = s.languages.empty() ? 0 : static_cast<int32_t>(s.languages[0].strings.size());
  a.languages.reset(static_cast<int32_t>(s.languages.size()), strings);
  for (size_t l = 0; l < s.languages.size(); ++l) {
    a.languages.set_language_name(static_cast<int32_t>(l), to_core(s.languages[l].name));
    for (int32_t id = 0; id < strings; ++id)
      a.languages.set_text(id, static_cast<int32_t>(l),
                           to_core(crlf_line_ends(s.languages[l].strings[static_cast<size_t>(id)])));
  }
  return a;
}

InstallerSettings from_archive_settings(const archive::Settings& a) {
  InstallerSettings s;
  s.flags = a.flags;
  s.flags2 = a.flags2;
  s.min_status_time = a.min_status_time;
  s.shortcut_mode = a.shortcut_mode;
  s.uninstaller_stamp = from_core(a.uninstaller_stamp);
  s.publisher = from_core(a.publisher);
  s.product_name = from_core(a.stored_product_name);
  s.shared_path = from_core(a.shared_path);
  s.start_menu_folder = from_core(a.start_menu_folder);
  s.default_install_dir = from_core(a.default_install_dir);
  s.product_version = from_core(a.product_version);
  s.product_registry = from_core(a.product_registry);
  s.bitmap_size = a.bitmap_size;
  s.stretch_mode = a.stretch_mode;
  copy_out(a.licence_texts, [&](const core::String& t) { s.licences.push_back(from_core(t)); });
  copy_out(a.readme_texts, [&](const core::String& t) { s.readmes.push_back(from_core(t)); });
  s.uninstall_subdir = from_core(a.uninstall_subdir);
  s.volume_base_name = from_core(a.volume_base_name);
  s.uninstaller_name = from_core(a.uninstaller_name);
  s.uninstall_key = from_core(a.uninstall_key);
  s.title_color = a.title_color;
  s.title_shadow = a.title_shadow;
  s.title_position = a.title_position;
  s.title_font = from_core(a.title_font);
  s.top_color = a.top_color;
  s.bottom_color = a.bottom_color;
  s.bitmap = from_core(a.bitmap);
  s.master_product = from_core(a.master_product);
  s.desktop_folder = from_core(a.desktop_folder);
  s.desktop_folder_icon = from_core(a.desktop_folder_icon);
  s.pre_install_batch = from_core(a.pre_install_batch);
  s.post_install_batch = from_core(a.post_install_batch);
  s.exit_batch = from_core(a.exit_batch);
  s.uninstall_batch_1 = from_core(a.uninstall_batch_1);
  s.uninstall_batch_2 = from_core(a.uninstall_batch_2);
  s.excluded_systems = a.excluded_systems;
  s.data_placement = a.data_placement;
  s.first_volume_id = a.first_volume_id;
  s.uninstaller_patch_offset = a.uninstaller_patch.offset;
  s.uninstaller_patch = from_core(a.uninstaller_patch.bytes);
  copy_out(a.deletion_rules, [&](const archive::FileDeletion& r) {
    s.deletions.push_back({from_core(r.specification), r.condition, from_core(r.value), r.flags});
  });
  copy_out(a.file_associations, [&](const archive::FileAssociation& r) {
    s.associations.push_back({r.flags, from_core(r.extension), from_core(r.file_type), from_core(r.description),
                              from_core(r.verb), from_core(r.verb_text), from_core(r.command),
                              from_core(r.language), from_core(r.icon)});
  });
  copy_out(a.uninstall_values, [&](const archive::UninstallData& r) {
    s.uninstall_values.push_back({from_core(r.name), r.type, from_core(r.data)});
  });
  for (int32_t l = 0; l < a.languages.language_count(); ++l) {
    Language lang;
    lang.name = from_core(a.languages.language_name(l));
    for (int32_t id = 0; id < a.languages.string_count(); ++id) lang.strings.push_back(from_core(a.languages.stored(id, l)));
    s.languages.push_back(std::move(lang));
  }
  return s;
}

}  // namespace qvin
