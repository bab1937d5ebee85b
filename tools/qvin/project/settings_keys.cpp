// The table of plain settings: project-file name, field, type and check of each.
#include "qvin/project/settings_keys.h"

#include <string>

namespace qvin {
namespace {

using S = archive::Settings;
using T = KeyType;
using R = KeyRule;

// Rows give section, key, field, type, rule, range, names, whether numbers are allowed
// and the flag the key implies, in that order; a row names only what differs from a text.
constexpr SettingKey kKeys[] = {
    {"product", "name", &S::stored_product_name, T::Text, R::Required},
    {"product", "version", &S::product_version},
    {"product", "publisher", &S::publisher},
    {"product", "registry_key", &S::product_registry},
    {"product", "uninstall_key", &S::uninstall_key},
    {.section = "product", .key = "master_product", .field = &S::master_product, .implies_flag = archive::flag::AddOn},

    {"install", "directory", &S::default_install_dir},
    {"install", "start_menu_folder", &S::start_menu_folder},
    {"install", "shared_path", &S::shared_path},
    {"install", "uninstall_subdir", &S::uninstall_subdir},
    {"install", "uninstaller_name", &S::uninstaller_name, T::Text, R::PlainFileName},
    {.section = "install", .key = "shortcut_mode", .field = &S::shortcut_mode, .type = T::Code, .codes = shortcut_mode_names},
    {"install", "min_status_time", &S::min_status_time, T::Number, R::None, 0,
     archive::settings_limit::MaxMinStatusTime},
    {.section = "install", .key = "excluded_systems", .field = &S::excluded_systems, .type = T::CodeSet,
     .codes = system_class_names},
    {"install", "desktop_folder", &S::desktop_folder},
    {"install", "desktop_folder_icon", &S::desktop_folder_icon, T::File, R::IconFile},
    {"install", "uninstaller_stamp", &S::uninstaller_stamp, T::Time},

    {"appearance", "title_color", &S::title_color, T::Colour},
    {"appearance", "top_color", &S::top_color, T::Colour},
    {"appearance", "bottom_color", &S::bottom_color, T::Colour},
    {"appearance", "title_shadow", &S::title_shadow, T::Number, R::None, 0, 255},
    {"appearance", "title_position", &S::title_position, T::Code, R::None, 0, 255, title_position_names, true},
    {"appearance", "title_font", &S::title_font},
    {.section = "appearance", .key = "bitmap", .field = &S::bitmap, .type = T::File, .rule = R::BitmapFile,
     .implies_flag = archive::flag::InstallBackgroundBitmap},
    {"appearance", "bitmap_size", &S::bitmap_size, T::Number, R::None, 0, archive::settings_limit::MaxBitmapSize},
    {"appearance", "stretch_mode", &S::stretch_mode, T::Code, R::None, INT32_MIN, INT32_MAX, stretch_mode_names,
     true},

    {"batch", "pre_install", &S::pre_install_batch},
    {"batch", "post_install", &S::post_install_batch},
    {"batch", "exit", &S::exit_batch},
    {"batch", "uninstall_1", &S::uninstall_batch_1},
    {"batch", "uninstall_2", &S::uninstall_batch_2},

    {.section = "archive", .key = "data_placement", .field = &S::data_placement, .type = T::Code,
     .codes = data_placement_names},
    {"archive", "volume_base_name", &S::volume_base_name, T::Text, R::PlainBaseName},
    {"archive", "first_volume_id", &S::first_volume_id, T::Number, R::None, INT32_MIN, INT32_MAX},
};

}  // namespace

std::span<const SettingKey> setting_keys() { return kKeys; }

std::string qualified_key(const SettingKey& key) { return std::string(key.section) + "." + std::string(key.key); }

int64_t setting_number(const SettingKey& key, const archive::Settings& settings) {
  return std::visit(
      [&](auto field) -> int64_t {
        using Value = std::remove_cvref_t<decltype(settings.*field)>;
        if constexpr (std::is_integral_v<Value>)
          return settings.*field;
        else
          return 0;
      },
      key.field);
}

void set_setting_number(const SettingKey& key, archive::Settings& settings, int64_t value) {
  std::visit(
      [&](auto field) {
        using Value = std::remove_cvref_t<decltype(settings.*field)>;
        if constexpr (std::is_integral_v<Value>) settings.*field = static_cast<Value>(value);
      },
      key.field);
}

}  // namespace qvin
