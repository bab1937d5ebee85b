// Project file: the arrays of tables ([[files]], [[deletions]], [[associations]],
// [[uninstall_values]], [[languages]]).
#include <algorithm>
#include <set>

#include "qvin/project/errors.h"
#include "qvin/project/flag_names.h"
#include "qvin/project/languages/catalog.h"
#include "qvin/project/project_sections.h"
#include "qvin/project/source_times.h"
#include "qvin/project/text_encoding.h"

namespace qvin {

std::vector<const toml::table*> table_array(const TomlReader& r, const toml::node& node,
                                            std::string_view name) {
  std::vector<const toml::table*> out;
  const auto* a = node.as_array();
  if (!a || !a->is_array_of_tables())
    r.fail(node, std::string(name) + ": expected an array of tables [[" + std::string(name) +
                     "]], found " + std::string(type_phrase(node)));
  for (const auto& item : *a) out.push_back(item.as_table());
  return out;
}

namespace {

namespace kind = archive::file_kind;
namespace file_flag = archive::file_flag;
namespace condition = archive::deletion_condition;

bool has_version(uint32_t k) { return archive::entry_text(k) == archive::EntryText::Version; }

std::string indexed(std::string_view name, size_t i) {
  return std::string(name) + "[" + std::to_string(i) + "]";
}

bool has_glob(const std::string& s) { return s.find_first_of("*?[") != std::string::npos; }

std::string backslashed(std::string s) {
  std::replace(s.begin(), s.end(), '/', '\\');
  return s;
}

// Kinds whose default directory the runtime knows; the others need a destination path.
bool kind_has_directory(uint32_t kind) { return archive::default_directory(kind) != archive::DefaultDirectory::None; }

void read_file_rule(const TomlReader& r, const toml::table& t, size_t index, Project& p) {
  TomlScope s(r, t, indexed("files", index));
  FileRule rule;
  rule.where = r.place(t.source());
  const toml::node& source = s.require("source");
  rule.sources = r.utf8_list(source, s.qualified("source"));
  if (rule.sources.empty()) r.fail(source, s.qualified("source") + ": names no file");
  for (const auto& src : rule.sources)
    if (src.empty()) r.fail(source, s.qualified("source") + ": an empty path");
  if (auto* n = s.take("recursive")) rule.recursive = r.boolean(*n, s.qualified("recursive"));
  if (auto* n = s.take("kind"))
    rule.kind = r.code(*n, s.qualified("kind"), destination_kind_names(), true, 0, UINT32_MAX);
  const bool single = rule.sources.size() == 1 && !has_glob(rule.sources[0]) && !rule.recursive;
  const bool finds_files =
      rule.recursive || std::any_of(rule.sources.begin(), rule.sources.end(), [](const std::string& src) { return has_glob(src); });
  // Both only filter what patterns and walks find; a file named outright is always taken.
  const auto only_for_found_files = [&](const toml::node& n, std::string_view key, std::string_view what) {
    if (!finds_files)
      r.fail(n, s.qualified(key) + ": the sources name files outright, which are always taken; " + std::string(what));
  };
  if (auto* n = s.take("exclude")) {
    only_for_found_files(*n, "exclude", "exclude filters patterns and recursive directories");
    rule.excludes = r.utf8_list(*n, s.qualified("exclude"));
    for (std::string& pattern : rule.excludes) {
      std::replace(pattern.begin(), pattern.end(), '\\', '/');
      if (pattern.find_first_not_of('/') == std::string::npos)
        r.fail(*n, s.qualified("exclude") + ": an empty pattern");
    }
  }
  if (auto* n = s.take("dot_files")) {
    rule.dot_files = r.boolean(*n, s.qualified("dot_files"));
    only_for_found_files(*n, "dot_files", "dot_files applies to patterns and recursive directories");
  }
  if (auto* n = s.take("name")) {
    if (!single) r.fail(*n, s.qualified("name") + ": a stored name needs exactly one source file, "
                                                  "not a list or pattern (use subdirectory)");
    rule.name = backslashed(r.text(*n, s.qualified("name")));
    if (rule.name->empty()) r.fail(*n, s.qualified("name") + ": cannot be empty");
  }
  if (auto* n = s.take("subdirectory")) rule.subdirectory = backslashed(r.text(*n, s.qualified("subdirectory")));
  if (auto* n = s.take("destination")) {
    rule.destination = r.text(*n, s.qualified("destination"));
    if (!rule.destination.empty() && rule.destination.find('\\') == std::string::npos && !single)
      r.fail(*n, s.qualified("destination") + ": a destination without '\\' renames the file, "
                                              "so it needs exactly one source file");
  }
  const bool shortcut_kind = rule.kind == kind::Install || rule.kind == kind::Startup;
  auto flag = [&](const char* key, uint32_t bit, bool needs_shortcut_kind) {
    const toml::node* n = s.take(key);
    if (!n) return;
    if (!r.boolean(*n, s.qualified(key))) return;
    if (needs_shortcut_kind && !shortcut_kind)
      r.fail(*n, s.qualified(key) + ": shortcuts are made only for the kinds \"install\" and \"startup\"");
    rule.flags |= bit;
  };
  flag("desktop_shortcut", file_flag::DesktopShortcut, true);
  flag("start_menu_shortcut", file_flag::StartMenuShortcut, true);
  flag("permanent", file_flag::Permanent, false);
  flag("in_uninstall_directory", file_flag::InUninstallDir, false);
  if (auto* n = s.take("existence"))
    rule.flags |= r.code(*n, s.qualified("existence"), existence_names());
  if (auto* n = s.take("attributes")) {
    if (n->is_string() && n->as_string()->get() == "keep") {
      rule.attributes = archive::kKeepAttributes;
    } else {
      const auto* a = n->as_array();
      if (!a) r.fail(*n, s.qualified("attributes") + ": expected \"keep\" or an array of attribute names");
      rule.attributes = 0;
      for (const auto& item : *a)
        rule.attributes |= static_cast<int32_t>(r.code(item, s.qualified("attributes"), attribute_names()));
    }
  }
  auto text_for = [&](const char* key, std::string& target, bool allowed, const char* kinds) {
    const toml::node* n = s.take(key);
    if (!n) return;
    if (!allowed) r.fail(*n, s.qualified(key) + ": only for the kinds " + kinds);
    target = r.text(*n, s.qualified(key));
  };
  text_for("shortcut_name", rule.shortcut_name, shortcut_kind, "\"install\" and \"startup\"");
  text_for("font_name", rule.font_name, rule.kind == kind::Font, "\"font\"");
  if (auto* n = s.take("version")) {
    if (!has_version(rule.kind))
      r.fail(*n, s.qualified("version") + ": only for the kinds \"system\", \"com-server\", "
                                          "\"type-library\" and \"versioned\"");
    rule.version = r.text(*n, s.qualified("version"));
  }
  const bool asks_shortcut = (rule.flags & file_flag::ShortcutMask) != 0;
  const bool makes_shortcut = (rule.kind == kind::Install && asks_shortcut) || rule.kind == kind::Startup;
  text_for("shortcut_icon", rule.icon, asks_shortcut,
           "\"install\" and \"startup\" with desktop_shortcut or start_menu_shortcut");
  text_for("arguments", rule.arguments, makes_shortcut, "\"install\" (with a shortcut) and \"startup\"");
  text_for("working_directory", rule.working_dir, makes_shortcut,
           "\"install\" (with a shortcut) and \"startup\"");
  if (rule.kind == kind::Font && rule.font_name.empty())
    r.fail(t.source(), s.qualified("font_name") + ": a font needs its face name (as the Fonts list shows it)");
  if (auto* n = s.take("time")) {
    if (n->is_string() && n->as_string()->get() == "none") rule.time = core::FileTime{};
    else rule.time = r.time(*n, s.qualified("time"));
  }
  if (auto* n = s.take("checksum"))
    rule.checksum = static_cast<uint32_t>(r.integer(*n, s.qualified("checksum"), 0, UINT32_MAX));
  if (auto* n = s.take("size")) rule.size = r.integer(*n, s.qualified("size"), 0, 0x40000000);
  if (!kind_has_directory(rule.kind) && rule.destination.find('\\') == std::string::npos &&
      !(rule.flags & file_flag::InUninstallDir))
    r.fail(t.source(), s.qualified("destination") + ": kind " + std::to_string(rule.kind) +
                           " has no directory of its own; give a destination path such as "
                           "\"%WinDir%\\\\\"");
  s.finish();
  p.files.push_back(std::move(rule));
}

}  // namespace

void read_files(const TomlReader& r, const toml::node& node, Project& p) {
  const auto tables = table_array(r, node, "files");
  for (size_t i = 0; i < tables.size(); ++i) read_file_rule(r, *tables[i], i, p);
}

void read_deletions(const TomlReader& r, const toml::node& node, Project& p) {
  const auto tables = table_array(r, node, "deletions");
  if (tables.size() > 1000)
    r.fail(node, "deletions: at most 1000 rules, found " + std::to_string(tables.size()));
  for (size_t i = 0; i < tables.size(); ++i) {
    TomlScope s(r, *tables[i], indexed("deletions", i));
    archive::FileDeletion rule;
    const toml::node& files = s.require("files");
    const std::string specification = r.text(files, s.qualified("files"));
    if (specification.find_first_not_of(" \t\r\n") == std::string::npos)
      r.fail(files, s.qualified("files") + ": names no file");
    if (specification == archive::kDeletionListEnd)
      r.fail(files, s.qualified("files") + ": this text ends the list of rules and cannot be a rule");
    rule.specification = to_core(specification);
    if (auto* n = s.take("condition"))
      rule.condition = static_cast<uint8_t>(r.code(*n, s.qualified("condition"), deletion_condition_names()));
    const toml::node* value = s.take("value");
    if (rule.condition == condition::None && value)
      r.fail(*value, s.qualified("value") + ": a value needs a condition");
    if (rule.condition != condition::None && !value)
      r.fail(tables[i]->source(), s.qualified("value") + ": the condition needs a value");
    if (rule.condition >= condition::DateEqual && rule.condition <= condition::DateOnOrBefore) {
      rule.value = to_core(stored_time_text(r.time(*value, s.qualified("value")), ' '));
    } else if (rule.condition >= condition::SizeEqual) {
      rule.value = to_core(std::to_string(r.integer(*value, s.qualified("value"), 0, INT64_MAX)));
    }
    if (auto* n = s.take("delete_at_restart"))
      if (r.boolean(*n, s.qualified("delete_at_restart"))) rule.flags |= archive::deletion_flag::DeleteAtRestart;
    s.finish();
    p.settings.deletion_rules.append(rule);
  }
}

void read_associations(const TomlReader& r, const toml::node& node, Project& p) {
  const auto tables = table_array(r, node, "associations");
  if (tables.size() > static_cast<size_t>(archive::settings_limit::MaxAssociationCount))
    r.fail(node, "associations: at most 10000 entries");
  for (size_t i = 0; i < tables.size(); ++i) {
    TomlScope s(r, *tables[i], indexed("associations", i));
    archive::FileAssociation a;
    const toml::node& ext = s.require("extension");
    a.extension = to_core(r.text(ext, s.qualified("extension")));
    if (a.extension.is_empty() || a.extension == ".") r.fail(ext, s.qualified("extension") + ": cannot be empty");
    const std::pair<const char*, core::String*> texts[] = {
        {"file_type", &a.file_type}, {"description", &a.description}, {"verb_text", &a.verb_text},
        {"command", &a.command},     {"language", &a.language},       {"icon", &a.icon}};
    for (const auto& [key, target] : texts)
      if (auto* n = s.take(key)) *target = to_core(r.text(*n, s.qualified(key)));
    const toml::node& verb = s.require("verb");
    a.verb = to_core(r.text(verb, s.qualified("verb")));
    if (a.verb.is_empty()) r.fail(verb, s.qualified("verb") + ": cannot be empty");
    if (auto* n = s.take("default_verb"))
      if (r.boolean(*n, s.qualified("default_verb"))) a.flags |= archive::association_flag::DefaultVerb;
    if (!a.language.is_empty()) {
      const archive::LanguageTables& langs = p.settings.languages;
      bool known = false;
      for (int32_t l = 0; l < langs.language_count(); ++l) known = known || langs.language_name(l) == a.language;
      if (!known)
        r.fail(*s.take("language"), s.qualified("language") + ": \"" + utf8_of(a.language) +
                                        "\" is not one of the project's languages");
    }
    s.finish();
    p.settings.file_associations.append(a);
  }
}

void read_uninstall_values(const TomlReader& r, const toml::node& node, Project& p) {
  const auto tables = table_array(r, node, "uninstall_values");
  if (tables.size() > static_cast<size_t>(archive::settings_limit::MaxUninstallValueCount))
    r.fail(node, "uninstall_values: at most 10000 entries");
  for (size_t i = 0; i < tables.size(); ++i) {
    TomlScope s(r, *tables[i], indexed("uninstall_values", i));
    archive::UninstallData v;
    const toml::node& name = s.require("name");
    v.name = to_core(r.text(name, s.qualified("name")));
    if (v.name.is_empty()) r.fail(name, s.qualified("name") + ": cannot be empty");
    if (auto* n = s.take("type"))
      v.type = static_cast<uint8_t>(r.code(*n, s.qualified("type"), uninstall_value_type_names(), true, 0, 255));
    if (auto* n = s.take("data")) {
      if (v.type == archive::uninstall_value_type::Number && n->is_integer())
        v.data = to_core(std::to_string(r.integer(*n, s.qualified("data"), INT32_MIN, UINT32_MAX)));
      else
        v.data = to_core(r.text(*n, s.qualified("data")));
    }
    s.finish();
    p.settings.uninstall_values.append(v);
  }
}

namespace {

// One language of the project: its name and its strings by id.
struct ProjectLanguage {
  std::string name;
  std::vector<std::string> strings;
};

std::vector<std::string> builtin_strings(const BuiltinLanguage& language) {
  std::vector<std::string> strings;
  for (const auto& text : *language.strings) strings.push_back(*utf8_to_cp1252(std::string(text)));
  return strings;
}

// The tables as stored: every language with the same ids, line ends as CR LF.
void store_languages(const std::vector<ProjectLanguage>& languages, archive::LanguageTables& tables) {
  size_t count = 0;
  for (const auto& l : languages) count = std::max(count, l.strings.size());
  tables.reset(static_cast<int32_t>(languages.size()), static_cast<int32_t>(count));
  for (size_t l = 0; l < languages.size(); ++l) {
    tables.set_language_name(static_cast<int32_t>(l), to_core(languages[l].name));
    for (size_t id = 0; id < languages[l].strings.size(); ++id)
      tables.set_text(static_cast<int32_t>(id), static_cast<int32_t>(l),
                      to_core(crlf_line_ends(languages[l].strings[id])));
  }
}

}  // namespace

void read_languages(const TomlReader& r, const toml::node* node, Project& p) {
  std::vector<ProjectLanguage> out;
  if (!node) {
    const BuiltinLanguage& english = builtin_languages()[0];
    out.push_back({std::string(english.name), builtin_strings(english)});
    store_languages(out, p.settings.languages);
    return;
  }
  const auto tables = table_array(r, *node, "languages");
  if (tables.empty() || tables.size() > 100)
    r.fail(*node, "languages: expected 1 to 100 languages, found " + std::to_string(tables.size()));
  std::set<std::string> names;
  for (size_t i = 0; i < tables.size(); ++i) {
    TomlScope s(r, *tables[i], indexed("languages", i));
    const toml::node& name_node = s.require("name");
    ProjectLanguage l;
    l.name = r.text(name_node, s.qualified("name"));
    if (l.name.empty()) r.fail(name_node, s.qualified("name") + ": cannot be empty");
    if (!names.insert(l.name).second)
      r.fail(name_node, s.qualified("name") + ": \"" + cp1252_to_utf8(l.name) + "\" is listed twice");
    std::string base_name = cp1252_to_utf8(l.name);
    const toml::node* base_node = s.take("base");
    if (base_node) base_name = r.utf8(*base_node, s.qualified("base"));
    const BuiltinLanguage* base = find_builtin_language(base_name);
    if (!base) {
      std::string known;
      for (const auto& b : builtin_languages()) known += (known.empty() ? "" : ", ") + std::string(b.name);
      r.fail(base_node ? *base_node : name_node,
             s.qualified(base_node ? "base" : "name") + ": no built-in texts for \"" + base_name +
                 "\"; set base to one of " + known);
    }
    l.strings = builtin_strings(*base);
    if (auto* n = s.take("strings")) {
      const auto* st = n->as_table();
      if (!st) r.fail(*n, s.qualified("strings") + ": expected a table of id = \"text\"");
      for (auto&& [key, value] : *st) {
        const std::string k(key.str());
        const bool digits = !k.empty() && k.size() <= 4 && std::all_of(k.begin(), k.end(), ::isdigit);
        if (!digits)
          r.fail(key.source(), s.qualified("strings") + ": \"" + k + "\" is not a string id (0 to 9999)");
        const int id = std::stoi(k);
        const std::string text = r.text(value, s.qualified("strings." + k));
        const std::string expected(string_arguments(id));
        std::string used;
        if (!expected.empty() &&
            (!format_conversions(text, &used) || expected.compare(0, used.size(), used) != 0))
          r.fail(value, s.qualified("strings." + k) + ": the runtime formats this text with \"" + expected +
                            "\"; the text may use those in that order (or fewer), and %% for a percent sign");
        if (static_cast<size_t>(id) >= l.strings.size()) l.strings.resize(id + 1);
        l.strings[id] = text;
      }
    }
    s.finish();
    out.push_back(std::move(l));
  }
  store_languages(out, p.settings.languages);
}

}  // namespace qvin
