// ${name} references in the project file's texts, and the values they stand for.
#include "qvin/project/defines.h"

#include <set>

#include "qvin/project/errors.h"
#include "qvin/project/project_sections.h"

namespace qvin {
namespace {

bool is_name_start(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool is_name_char(char c) { return is_name_start(c) || (c >= '0' && c <= '9') || c == '-'; }

// One walk over the document's texts with the values and what was used of them.
class Expansion {
 public:
  Expansion(const TomlReader& reader, const Defines& values) : reader_(reader), values_(values) {}

  void walk(toml::node& node, const std::string& key) {
    if (auto* table = node.as_table()) {
      for (auto&& [k, child] : *table) walk(child, key.empty() ? std::string(k.str()) : key + "." + std::string(k.str()));
    } else if (auto* array = node.as_array()) {
      for (size_t i = 0; i < array->size(); ++i)
        walk((*array)[i], (*array)[i].is_table() ? key + "[" + std::to_string(i) + "]" : key);
    } else if (auto* text = node.as_string()) {
      text->get() = expanded(text->get(), node, key);
    }
  }

  const std::set<std::string, std::less<>>& used() const { return used_; }

 private:
  std::string expanded(const std::string& text, const toml::node& node, const std::string& key) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text.compare(i, 3, "$${") == 0) {
        out += "${";
        i += 2;
        continue;
      }
      if (text.compare(i, 2, "${") != 0) {
        out += text[i];
        continue;
      }
      const size_t close = text.find('}', i + 2);
      const std::string name = text.substr(i + 2, close == std::string::npos ? std::string::npos : close - i - 2);
      if (close == std::string::npos || !is_define_name(name))
        reader_.fail(node, key + ": \"${" + name + (close == std::string::npos ? "" : "}") +
                               "\" is not a reference ${name} (a name of letters, digits, '_' and '-'); "
                               "write $${ for a literal ${");
      const auto value = values_.find(name);
      if (value == values_.end())
        reader_.fail(node, key + ": ${" + name + "} is not defined; give qvin build -D " + name +
                               "=VALUE or a default in [defines]");
      used_.insert(name);
      out += value->second;
      i = close;
    }
    return out;
  }

  const TomlReader& reader_;
  const Defines& values_;
  std::set<std::string, std::less<>> used_;
};

}  // namespace

bool is_define_name(std::string_view name) {
  if (name.empty() || !is_name_start(name[0])) return false;
  for (char c : name)
    if (!is_name_char(c)) return false;
  return true;
}

void expand_defines(toml::table& root, const Defines& command_line, const TomlReader& reader) {
  Defines values;
  const toml::table* defaults = nullptr;
  if (const toml::node* node = root.get("defines")) {
    defaults = node->as_table();
    if (!defaults) reader.fail(*node, "defines: expected a table [defines], found " + std::string(type_phrase(*node)));
    for (auto&& [key, value] : *defaults) {
      const std::string name(key.str());
      if (!is_define_name(name))
        reader.fail(key.source(), "defines." + name + ": a define's name is a letter or '_', then letters, "
                                                      "digits, '_' and '-'");
      values[name] = reader.utf8(value, "defines." + name);
    }
  }
  for (const auto& [name, value] : command_line) values[name] = value;

  Expansion expansion(reader, values);
  for (auto&& [key, node] : root)
    if (key.str() != "defines") expansion.walk(node, std::string(key.str()));

  // A define no text uses is a mistake as much as a misspelt key: a build would
  // otherwise silently ignore the value it was given.
  if (defaults)
    for (auto&& [key, value] : *defaults)
      if (!expansion.used().count(key.str()))
        reader.fail(key.source(), "defines." + std::string(key.str()) + ": no text uses ${" +
                                      std::string(key.str()) + "}");
  for (const auto& [name, value] : command_line)
    if (!expansion.used().count(name))
      throw ProjectError(reader.display_name() + ": -D " + name + ": no text of the project uses ${" + name + "}");
  root.erase("defines");
}

}  // namespace qvin
