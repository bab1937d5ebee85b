// Project file: the settings sections, defaults, and the checks across sections.
#include "qvin/project_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "qvin/errors.h"
#include "qvin/flag_names.h"
#include "qvin/text_encoding.h"
#include "qvin/project_sections.h"
#include "qvin/toml_reader.h"

namespace qvin {
namespace {

// Flags on by default: what a plain installer is expected to do.
constexpr uint32_t kDefaultFlags = 0x4 /* uninstall_support */ | 0x20 /* compress_data */ |
                                   0x80 /* ask_install_directory */;

const toml::table* section(const TomlReader& reader, const toml::table& root, TomlScope& scope,
                           std::string_view name) {
  const toml::node* node = scope.take(name);
  if (!node) return nullptr;
  const auto* table = node->as_table();
  if (!table) reader.fail(*node, std::string(name) + ": expected a table [" + std::string(name) +
                                     "], found " + std::string(type_phrase(*node)));
  (void)root;
  return table;
}

void read_product(const TomlReader& r, const toml::table& t, Project& p) {
  TomlScope s(r, t, "product");
  InstallerSettings& st = p.settings;
  const toml::node& name = s.require("name");
  st.product_name = r.text(name, s.qualified("name"));
  if (st.product_name.find_first_not_of(" \t\r\n") == std::string::npos)
    r.fail(name, "product.name: the product name cannot be blank");
  if (auto* n = s.take("version")) st.product_version = r.text(*n, s.qualified("version"));
  if (auto* n = s.take("publisher")) st.publisher = r.text(*n, s.qualified("publisher"));
  if (auto* n = s.take("registry_key")) st.product_registry = r.text(*n, s.qualified("registry_key"));
  if (auto* n = s.take("uninstall_key")) st.uninstall_key = r.text(*n, s.qualified("uninstall_key"));
  if (auto* n = s.take("master_product")) {
    st.master_product = r.text(*n, s.qualified("master_product"));
    st.flags |= 0x10000;  // an add-on unless [flags] says otherwise
  }
  s.finish();
}

void read_install(const TomlReader& r, const toml::table& t, Project& p) {
  TomlScope s(r, t, "install");
  InstallerSettings& st = p.settings;
  if (auto* n = s.take("directory")) st.default_install_dir = r.text(*n, s.qualified("directory"));
  if (auto* n = s.take("start_menu_folder")) st.start_menu_folder = r.text(*n, s.qualified("start_menu_folder"));
  if (auto* n = s.take("shared_path")) st.shared_path = r.text(*n, s.qualified("shared_path"));
  if (auto* n = s.take("uninstall_subdir")) st.uninstall_subdir = r.text(*n, s.qualified("uninstall_subdir"));
  if (auto* n = s.take("uninstaller_name")) {
    st.uninstaller_name = r.text(*n, s.qualified("uninstaller_name"));
    if (st.uninstaller_name.empty() || st.uninstaller_name.find_first_of("\\/:*?\"<>|") != std::string::npos)
      r.fail(*n, "install.uninstaller_name: expected a plain file name such as \"Uninstall.exe\"");
  }
  static constexpr CodeName kModes[] = {{"current-user", 0}, {"all-users", 1}};
  if (auto* n = s.take("shortcut_mode"))
    st.shortcut_mode = static_cast<uint8_t>(r.code(*n, s.qualified("shortcut_mode"), kModes));
  if (auto* n = s.take("min_status_time"))
    st.min_status_time = static_cast<uint16_t>(r.integer(*n, s.qualified("min_status_time"), 0, 9999));
  if (auto* n = s.take("excluded_systems")) {
    const auto* a = n->as_array();
    if (!a) r.fail(*n, "install.excluded_systems: expected an array of system names, found " +
                           std::string(type_phrase(*n)));
    for (const auto& item : *a)
      st.excluded_systems |= static_cast<int32_t>(
          r.code(item, s.qualified("excluded_systems"), system_class_names()));
  }
  if (auto* n = s.take("desktop_folder")) st.desktop_folder = r.text(*n, s.qualified("desktop_folder"));
  if (auto* n = s.take("desktop_folder_icon")) {
    st.desktop_folder_icon = r.file_bytes(*n, s.qualified("desktop_folder_icon"));
    if (st.desktop_folder_icon.size() < 6 || st.desktop_folder_icon.compare(0, 4, std::string("\0\0\1\0", 4)) != 0)
      r.fail(*n, "install.desktop_folder_icon: \"" + r.utf8(*n, "") + "\" is not an icon (.ico) file");
  }
  if (auto* n = s.take("uninstaller_stamp")) {
    st.uninstaller_stamp = r.time(*n, s.qualified("uninstaller_stamp"));
    p.uninstaller_stamp_given = true;
  }
  s.finish();
}

// The stored picture is the bitmap file without its 14-byte file header; the runtime
// finds the pixels right after the header and palette, so a file whose pixels lie
// elsewhere would be drawn wrongly and is refused here.
std::string bitmap_image(const TomlReader& r, const toml::node& n, const std::string& file) {
  auto u16 = [&](size_t at) { return static_cast<uint32_t>(static_cast<unsigned char>(file[at]) | static_cast<unsigned char>(file[at + 1]) << 8); };
  auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
  const std::string key = "appearance.bitmap";
  if (file.size() < 14 + 12 || file[0] != 'B' || file[1] != 'M')
    r.fail(n, key + ": \"" + r.utf8(n, key) + "\" is not a bitmap (.bmp) file");
  const uint32_t header = u32(14);
  uint32_t entries = 0, entry_size = 0, counted = header;
  if (header == 12) {
    const uint32_t bits = u16(14 + 10);
    entries = bits < 24 ? (1u << bits) : 0;
    entry_size = 3;
  } else if (header == 40 && file.size() >= 14 + 40) {
    const uint32_t bits = u16(14 + 14);
    entries = u32(14 + 32);
    if (entries == 0 && bits < 16) entries = 1u << bits;
    entry_size = 4;
    if (u32(14 + 16) == 3) counted = 52;
  } else {
    r.fail(n, key + ": \"" + r.utf8(n, key) + "\" has a " + std::to_string(header) +
                  "-byte header; only the 12- and 40-byte bitmap headers are supported");
  }
  const uint64_t pixels = 14ull + counted + uint64_t{entries} * entry_size;
  if (pixels != u32(10) || pixels > file.size())
    r.fail(n, key + ": the pixels of \"" + r.utf8(n, key) + "\" do not directly follow its header "
                  "and colour table; save it as a plain Windows bitmap");
  return file.substr(14);
}

void read_appearance(const TomlReader& r, const toml::table& t, Project& p) {
  TomlScope s(r, t, "appearance");
  InstallerSettings& st = p.settings;
  if (auto* n = s.take("title_color")) st.title_color = r.colour(*n, s.qualified("title_color"));
  if (auto* n = s.take("top_color")) st.top_color = r.colour(*n, s.qualified("top_color"));
  if (auto* n = s.take("bottom_color")) st.bottom_color = r.colour(*n, s.qualified("bottom_color"));
  if (auto* n = s.take("title_shadow"))
    st.title_shadow = static_cast<uint8_t>(r.integer(*n, s.qualified("title_shadow"), 0, 255));
  if (auto* n = s.take("title_position"))
    st.title_position = static_cast<uint8_t>(
        r.code(*n, s.qualified("title_position"), title_position_names(), true, 0, 255));
  if (auto* n = s.take("title_font")) st.title_font = r.text(*n, s.qualified("title_font"));
  const toml::node* size = s.take("bitmap_size");
  if (auto* n = s.take("bitmap")) {
    st.bitmap = bitmap_image(r, *n, r.file_bytes(*n, s.qualified("bitmap")));
    st.bitmap_size = 100;
    st.flags |= 0x8000;  // install_background_bitmap, unless [flags] says otherwise
  }
  if (size) st.bitmap_size = static_cast<int32_t>(r.integer(*size, s.qualified("bitmap_size"), 0, 100));
  if (auto* n = s.take("stretch_mode"))
    st.stretch_mode = static_cast<int32_t>(
        r.code(*n, s.qualified("stretch_mode"), stretch_mode_names(), true, INT32_MIN, INT32_MAX));
  s.finish();
}

void read_texts(const TomlReader& r, const toml::table& t, Project& p) {
  TomlScope s(r, t, "texts");
  for (const char* key : {"licence", "readme"}) {
    const toml::node* n = s.take(key);
    if (!n) continue;
    auto& out = std::string(key) == "licence" ? p.settings.licences : p.settings.readmes;
    std::vector<const toml::node*> items;
    if (const auto* a = n->as_array()) {
      for (const auto& item : *a) items.push_back(&item);
    } else {
      items.push_back(n);
    }
    if (items.size() > 20)
      r.fail(*n, s.qualified(key) + ": at most 20 texts, found " + std::to_string(items.size()));
    // Shown in a multi-line edit control, which breaks lines only at CR LF.
    for (const auto* item : items) out.push_back(crlf_line_ends(r.text_file(*item, s.qualified(key))));
  }
  s.finish();
}

void read_batch(const TomlReader& r, const toml::table& t, Project& p) {
  TomlScope s(r, t, "batch");
  InstallerSettings& st = p.settings;
  const std::pair<const char*, std::string*> keys[] = {
      {"pre_install", &st.pre_install_batch}, {"post_install", &st.post_install_batch},
      {"exit", &st.exit_batch},               {"uninstall_1", &st.uninstall_batch_1},
      {"uninstall_2", &st.uninstall_batch_2}};
  for (const auto& [key, target] : keys)
    if (auto* n = s.take(key)) *target = r.text(*n, s.qualified(key));
  s.finish();
}

void read_archive(const TomlReader& r, const toml::table& t, Project& p) {
  TomlScope s(r, t, "archive");
  InstallerSettings& st = p.settings;
  if (auto* n = s.take("compression_level"))
    p.compression_level = static_cast<int>(r.integer(*n, s.qualified("compression_level"), 0, 9));
  static constexpr CodeName kPlacements[] = {{"image", 0}, {"file", 1}};
  if (auto* n = s.take("data_placement"))
    st.data_placement = static_cast<uint8_t>(r.code(*n, s.qualified("data_placement"), kPlacements));
  if (auto* n = s.take("volume_size")) {
    p.volume_size = r.byte_size(*n, s.qualified("volume_size"));
    if (p.volume_size != 0 && p.volume_size < 4096)
      r.fail(*n, "archive.volume_size: volumes must hold at least 4096 bytes (0 means one file)");
  }
  if (auto* n = s.take("volume_base_name")) {
    st.volume_base_name = r.text(*n, s.qualified("volume_base_name"));
    if (st.volume_base_name.find_first_not_of(" \t\r\n") == std::string::npos ||
        st.volume_base_name.find_first_of("\\/:*?\"<>|") != std::string::npos)
      r.fail(*n, "archive.volume_base_name: expected a plain, non-blank file name");
    p.volume_base_name_given = true;
  }
  if (auto* n = s.take("first_volume_id")) {
    st.first_volume_id = static_cast<int32_t>(r.integer(*n, s.qualified("first_volume_id"), INT32_MIN, INT32_MAX));
    p.first_volume_id_given = true;
  }
  if (auto* n = s.take("uninstaller_patch")) {
    const auto* pt = n->as_table();
    if (!pt) r.fail(*n, "archive.uninstaller_patch: expected a table { offset = ..., file = ... }");
    TomlScope ps(r, *pt, "archive.uninstaller_patch");
    st.uninstaller_patch_offset = static_cast<int32_t>(
        r.integer(ps.require("offset"), ps.qualified("offset"), 1, INT32_MAX));
    st.uninstaller_patch = r.file_bytes(ps.require("file"), ps.qualified("file"));
    if (st.uninstaller_patch.empty()) r.fail(*pt, "archive.uninstaller_patch.file: the patch is empty");
    ps.finish();
  }
  s.finish();
}

void read_flags(const TomlReader& r, const toml::table& t, Project& p) {
  for (auto&& [key, value] : t) {
    const auto flag = find_flag(key.str());
    if (!flag) r.fail(key.source(), "unknown flag \"flags." + std::string(key.str()) +
                                        "\" (docs/project-file.md lists every flag)");
    const bool on = r.boolean(value, "flags." + std::string(key.str()));
    uint32_t& word = flag->word == 1 ? p.settings.flags : p.settings.flags2;
    (flag->word == 1 ? p.flags_given : p.flags2_given) |= flag->bit;
    word = on ? (word | flag->bit) : (word & ~flag->bit);
  }
}

// Checks across sections, once everything is read.
void check_project(const TomlReader& r, const toml::table& root, Project& p) {
  const InstallerSettings& st = p.settings;
  const bool uninstall = (st.flags & 0x4) != 0;
  if (!uninstall && st.uninstaller_patch_offset > 0)
    r.fail(root.source(), "archive.uninstaller_patch: needs flags.uninstall_support (the patch "
                          "applies to the uninstaller)");
  if (!(st.flags & 0x10000) && !st.master_product.empty())
    r.fail(root.source(), "product.master_product: needs flags.add_on (it is stored only for add-ons)");
  if (st.flags & 0x8000 && st.bitmap.empty())
    r.fail(root.source(), "flags.install_background_bitmap: needs appearance.bitmap");
  if (p.files.empty())
    r.fail(root.source(), "the project has no [[files]] entry; an installer needs at least one file");
}

}  // namespace

Project parse_project(std::string_view text, const std::filesystem::path& file) {
  Project project;
  project.file = file;
  project.base_dir = file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
  const TomlReader reader(file.string(), project.base_dir);

  toml::table root;
  try {
    root = toml::parse(text, file.string());
  } catch (const toml::parse_error& e) {
    reader.fail(e.source(), std::string(e.description()));
  }

  InstallerSettings& st = project.settings;
  st.flags = kDefaultFlags;
  st.flags2 = 0x1;  // verify_installer_checksum
  st.uninstall_subdir = "Uninstall";
  st.uninstaller_name = "Uninstall.exe";
  st.title_color = 0xFFFFFF;
  st.top_color = 0xFF0000;  // blue, as a colour reference
  st.bottom_color = 0x000000;
  st.title_shadow = 2;
  st.title_position = 1;
  st.title_font = "Times New Roman Bold Italic";
  st.stretch_mode = 2;

  TomlScope scope(reader, root, "");
  // Unknown tables are reported before anything else is missed.
  for (const char* key : {"product", "install", "appearance", "texts", "batch", "archive", "flags",
                          "languages", "files", "deletions", "associations", "uninstall_values"})
    (void)scope.take(key);
  scope.finish();
  const toml::table* product = section(reader, root, scope, "product");
  if (!product) reader.fail(root.source(), "the [product] table is required (at least product.name)");
  read_product(reader, *product, project);
  if (auto* t = section(reader, root, scope, "install")) read_install(reader, *t, project);
  if (auto* t = section(reader, root, scope, "appearance")) read_appearance(reader, *t, project);
  if (auto* t = section(reader, root, scope, "texts")) read_texts(reader, *t, project);
  if (auto* t = section(reader, root, scope, "batch")) read_batch(reader, *t, project);
  if (auto* t = section(reader, root, scope, "archive")) read_archive(reader, *t, project);
  if (project.compression_level == 0) st.flags &= ~0x20u;  // stored data, unless [flags] says
  // Flags come after the sections whose keys imply a flag, so an explicit flag wins.
  if (auto* t = section(reader, root, scope, "flags")) read_flags(reader, *t, project);
  read_languages(reader, scope.take("languages"), project);
  if (auto* n = scope.take("files")) read_files(reader, *n, project);
  if (auto* n = scope.take("deletions")) read_deletions(reader, *n, project);
  if (auto* n = scope.take("associations")) read_associations(reader, *n, project);
  if (auto* n = scope.take("uninstall_values")) read_uninstall_values(reader, *n, project);
  check_project(reader, root, project);
  return project;
}

Project load_project(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in || std::filesystem::is_directory(file))
    throw ProjectError(file.string() + ": cannot read the project file: " +
                       (std::filesystem::is_directory(file) ? "it is a directory" : std::strerror(errno)));
  std::ostringstream text;
  text << in.rdbuf();
  return parse_project(text.str(), file);
}

}  // namespace qvin
