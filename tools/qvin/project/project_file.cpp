// Project file: the settings sections, defaults, and the checks across sections.
#include "qvin/project/project_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "archive/dib_layout.h"
#include "archive/little_endian.h"
#include "qvin/project/defines.h"
#include "qvin/project/errors.h"
#include "qvin/project/flag_names.h"
#include "qvin/project/project_sections.h"
#include "qvin/project/settings_keys.h"
#include "qvin/project/text_encoding.h"
#include "qvin/project/toml_reader.h"

namespace qvin {
namespace {

namespace flag = archive::flag;

// Flags on by default: what a plain installer is expected to do.
constexpr uint32_t kDefaultFlags = flag::UninstallSupport | flag::CompressData | flag::AskInstallDirectory;

bool is_blank(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

const toml::table* section(const TomlReader& reader, TomlScope& scope, std::string_view name) {
  const toml::node* node = scope.take(name);
  if (!node) return nullptr;
  const auto* table = node->as_table();
  if (!table) reader.fail(*node, std::string(name) + ": expected a table [" + std::string(name) +
                                     "], found " + std::string(type_phrase(*node)));
  return table;
}

// The stored picture is the bitmap file without its file header; the runtime finds the
// pixels right after the header and palette, so a file whose pixels lie elsewhere would
// be drawn wrongly and is refused here.
std::string bitmap_image(const TomlReader& r, const toml::node& n, const std::string& key, const std::string& file) {
  const std::string name = "\"" + r.utf8(n, key) + "\"";
  const auto* bytes = reinterpret_cast<const uint8_t*>(file.data());
  switch (archive::check_bitmap_file(bytes, static_cast<int64_t>(file.size()))) {
    case archive::BitmapFileCheck::Plain: break;
    case archive::BitmapFileCheck::NotABitmap: r.fail(n, key + ": " + name + " is not a bitmap (.bmp) file");
    case archive::BitmapFileCheck::UnknownHeader:
      r.fail(n, key + ": " + name + " has a " +
                    std::to_string(archive::load_u32(bytes + archive::bitmap_file_header_size)) +
                    "-byte header or too few pixels; only whole bitmaps with the 12- or 40-byte header "
                    "are supported");
    case archive::BitmapFileCheck::PixelsElsewhere:
      r.fail(n, key + ": the pixels of " + name + " do not directly follow its header "
                    "and colour table; save it as a plain Windows bitmap");
  }
  return file.substr(archive::bitmap_file_header_size);
}

// A file name the runtime joins to a directory: no directory part, no wildcard.
bool is_plain_file_name(const std::string& name) {
  return !name.empty() && name.find_first_of("\\/:*?\"<>|") == std::string::npos;
}

// One row of the settings table: the value, its checks, the flag it implies.
void read_setting(const TomlReader& r, const toml::node& n, const SettingKey& key, Project& p) {
  using S = archive::Settings;
  archive::Settings& st = p.settings;
  const std::string name = qualified_key(key);
  switch (key.type) {
    case KeyType::Text: {
      const std::string text = r.text(n, name);
      if (key.rule == KeyRule::Required && is_blank(text)) r.fail(n, name + ": cannot be blank");
      if (key.rule == KeyRule::PlainFileName && !is_plain_file_name(text))
        r.fail(n, name + ": expected a plain file name such as \"Uninstall.exe\"");
      if (key.rule == KeyRule::PlainBaseName && (is_blank(text) || !is_plain_file_name(text)))
        r.fail(n, name + ": expected a plain, non-blank file name");
      st.*std::get<core::String S::*>(key.field) = to_core(text);
      break;
    }
    case KeyType::Number: set_setting_number(key, st, r.integer(n, name, key.low, key.high)); break;
    case KeyType::Colour: set_setting_number(key, st, r.colour(n, name)); break;
    case KeyType::Code:
      set_setting_number(key, st, r.code(n, name, key.codes(), key.numbers, key.low, key.high));
      break;
    case KeyType::CodeSet: {
      const auto* a = n.as_array();
      if (!a) r.fail(n, name + ": expected an array of names, found " + std::string(type_phrase(n)));
      uint32_t bits = 0;
      for (const auto& item : *a) bits |= r.code(item, name, key.codes());
      set_setting_number(key, st, static_cast<int32_t>(bits));
      break;
    }
    case KeyType::Time: st.*std::get<core::FileTime S::*>(key.field) = r.time(n, name); break;
    case KeyType::File: {
      std::string bytes = r.file_bytes(n, name);
      if (key.rule == KeyRule::IconFile &&
          (bytes.size() < 6 || bytes.compare(0, 4, std::string("\0\0\1\0", 4)) != 0))
        r.fail(n, name + ": \"" + r.utf8(n, name) + "\" is not an icon (.ico) file");
      if (key.rule == KeyRule::BitmapFile) {
        bytes = bitmap_image(r, n, name, bytes);
        st.bitmap_size = archive::settings_limit::MaxBitmapSize;
      }
      st.*std::get<core::String S::*>(key.field) = to_core(bytes);
      break;
    }
  }
  st.flags |= key.implies_flag;
  p.given.insert(name);
}

// The rows of one section, then what `more` reads of it; every other key is unknown.
template <class More>
void read_section(const TomlReader& r, const toml::table& t, std::string_view name, Project& p, More&& more) {
  TomlScope s(r, t, std::string(name));
  for (const SettingKey& key : setting_keys()) {
    if (key.section != name) continue;
    if (const toml::node* n = key.rule == KeyRule::Required ? &s.require(key.key) : s.take(key.key))
      read_setting(r, *n, key, p);
  }
  more(s);
  s.finish();
}

void read_section(const TomlReader& r, const toml::table& t, std::string_view name, Project& p) {
  read_section(r, t, name, p, [](TomlScope&) {});
}

void read_texts(const TomlReader& r, const toml::table& t, Project& p) {
  TomlScope s(r, t, "texts");
  for (const char* key : {"licence", "readme"}) {
    const toml::node* n = s.take(key);
    if (!n) continue;
    auto& out = std::string(key) == "licence" ? p.settings.licence_texts : p.settings.readme_texts;
    std::vector<const toml::node*> items;
    if (const auto* a = n->as_array()) {
      for (const auto& item : *a) items.push_back(&item);
    } else {
      items.push_back(n);
    }
    const auto most = static_cast<size_t>(std::string(key) == "licence" ? archive::settings_limit::MaxLicenceCount
                                                                         : archive::settings_limit::MaxReadmeCount);
    if (items.size() > most)
      r.fail(*n, s.qualified(key) + ": at most " + std::to_string(most) + " texts, found " +
                     std::to_string(items.size()));
    // Shown in a multi-line edit control, which breaks lines only at CR LF.
    for (const auto* item : items) out.append(to_core(crlf_line_ends(r.text_file(*item, s.qualified(key)))));
  }
  s.finish();
}

// The archive's table: the settings' rows, and the build's own choices.
void read_archive(const TomlReader& r, const toml::table& t, Project& p) {
  read_section(r, t, "archive", p, [&](TomlScope& s) {
    if (auto* n = s.take("compression_level"))
      p.compression_level = static_cast<int>(r.integer(*n, s.qualified("compression_level"), 0, 9));
    if (auto* n = s.take("compression")) {
      const std::string codec = r.text(*n, s.qualified("compression"));
      if (codec != "qvin" && codec != "lzma")
        r.fail(*n, "archive.compression: expected \"qvin\" or \"lzma\", found \"" + codec + "\"");
      p.lzma = codec == "lzma";
    }
    if (auto* n = s.take("volume_size")) {
      p.volume_size = r.byte_size(*n, s.qualified("volume_size"));
      if (p.volume_size != 0 && p.volume_size < 4096)
        r.fail(*n, "archive.volume_size: volumes must hold at least 4096 bytes (0 means one file)");
    }
    if (auto* n = s.take("uninstaller_patch")) {
      const auto* pt = n->as_table();
      if (!pt) r.fail(*n, "archive.uninstaller_patch: expected a table { offset = ..., file = ... }");
      TomlScope ps(r, *pt, "archive.uninstaller_patch");
      archive::UninstallerPatch& patch = p.settings.uninstaller_patch;
      patch.offset = static_cast<int32_t>(r.integer(ps.require("offset"), ps.qualified("offset"), 1, INT32_MAX));
      patch.bytes = to_core(r.file_bytes(ps.require("file"), ps.qualified("file")));
      if (patch.bytes.is_empty()) r.fail(*pt, "archive.uninstaller_patch.file: the patch is empty");
      ps.finish();
    }
  });
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
  const archive::Settings& st = p.settings;
  if (!(st.flags & flag::UninstallSupport) && st.uninstaller_patch.offset > 0)
    r.fail(root.source(), "archive.uninstaller_patch: needs flags.uninstall_support (the patch "
                          "applies to the uninstaller)");
  if (!(st.flags & flag::AddOn) && !st.master_product.is_empty())
    r.fail(root.source(), "product.master_product: needs flags.add_on (it is stored only for add-ons)");
  if ((st.flags & flag::InstallBackgroundBitmap) && st.bitmap.is_empty())
    r.fail(root.source(), "flags.install_background_bitmap: needs appearance.bitmap");
  if (p.files.empty())
    r.fail(root.source(), "the project has no [[files]] entry; an installer needs at least one file");
}

}  // namespace

Project parse_project(std::string_view text, const std::filesystem::path& file, const Defines& defines) {
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
  expand_defines(root, defines, reader);

  archive::Settings& st = project.settings;
  st.flags = kDefaultFlags;
  st.flags2 = archive::flag2::VerifyInstallerChecksum;
  st.uninstall_subdir = "Uninstall";
  st.uninstaller_name = "Uninstall.exe";
  st.title_color = 0xFFFFFF;
  st.top_color = 0xFF0000;  // blue, as a colour reference
  st.bottom_color = 0x000000;
  st.title_shadow = 2;
  st.title_position = archive::title_position::TopLeft;
  st.title_font = "Times New Roman Bold Italic";
  st.stretch_mode = archive::stretch_mode::Zoom;

  TomlScope scope(reader, root, "");
  // Unknown tables are reported before anything else is missed.
  for (const char* key : {"product", "install", "appearance", "texts", "batch", "archive", "flags",
                          "languages", "files", "deletions", "associations", "uninstall_values"})
    (void)scope.take(key);
  scope.finish();
  const toml::table* product = section(reader, scope, "product");
  if (!product) reader.fail(root.source(), "the [product] table is required (at least product.name)");
  read_section(reader, *product, "product", project);
  for (const char* name : {"install", "appearance"})
    if (auto* t = section(reader, scope, name)) read_section(reader, *t, name, project);
  if (auto* t = section(reader, scope, "texts")) read_texts(reader, *t, project);
  if (auto* t = section(reader, scope, "batch")) read_section(reader, *t, "batch", project);
  if (auto* t = section(reader, scope, "archive")) read_archive(reader, *t, project);
  if (project.compression_level == 0) st.flags &= ~flag::CompressData;  // stored data, unless [flags] says
  // Flags come after the sections whose keys imply a flag, so an explicit flag wins.
  if (auto* t = section(reader, scope, "flags")) read_flags(reader, *t, project);
  read_languages(reader, scope.take("languages"), project);
  if (auto* n = scope.take("files")) read_files(reader, *n, project);
  if (auto* n = scope.take("deletions")) read_deletions(reader, *n, project);
  if (auto* n = scope.take("associations")) read_associations(reader, *n, project);
  if (auto* n = scope.take("uninstall_values")) read_uninstall_values(reader, *n, project);
  check_project(reader, root, project);
  return project;
}

Project load_project(const std::filesystem::path& file, const Defines& defines) {
  std::ifstream in(file, std::ios::binary);
  if (!in || std::filesystem::is_directory(file))
    throw ProjectError(file.string() + ": cannot read the project file: " +
                       (std::filesystem::is_directory(file) ? "it is a directory" : std::strerror(errno)));
  std::ostringstream text;
  text << in.rdbuf();
  return parse_project(text.str(), file, defines);
}

}  // namespace qvin
