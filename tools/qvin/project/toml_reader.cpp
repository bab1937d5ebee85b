// Typed, checked reads of TOML values for the project file.
#include "qvin/project/toml_reader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "qvin/platform/system.h"
#include "qvin/project/errors.h"
#include "qvin/project/text_encoding.h"

namespace qvin {

std::string_view type_phrase(const toml::node& node) {
  switch (node.type()) {
    case toml::node_type::string: return "a text";
    case toml::node_type::integer: return "an integer";
    case toml::node_type::floating_point: return "a floating-point number";
    case toml::node_type::boolean: return "a boolean";
    case toml::node_type::date: return "a date";
    case toml::node_type::time: return "a time";
    case toml::node_type::date_time: return "a date-time";
    case toml::node_type::array: return "an array";
    case toml::node_type::table: return "a table";
    default: return "nothing";
  }
}

std::string TomlReader::place(const toml::source_region& region) const {
  return display_name_ + ":" + std::to_string(region.begin.line) + ":" +
         std::to_string(region.begin.column);
}

void TomlReader::fail(const toml::source_region& region, const std::string& message) const {
  throw ProjectError(place(region) + ": " + message);
}

namespace {

std::string expected(std::string_view key, std::string_view what, const toml::node& node) {
  return std::string(key) + ": expected " + std::string(what) + ", found " +
         std::string(type_phrase(node));
}

}  // namespace

std::string TomlReader::utf8(const toml::node& node, std::string_view key) const {
  const auto* s = node.as_string();
  if (!s) fail(node, expected(key, "a text", node));
  return s->get();
}

std::string TomlReader::text(const toml::node& node, std::string_view key) const {
  const std::string value = utf8(node, key);
  std::string why;
  const auto bytes = utf8_to_cp1252(value, &why);
  if (!bytes) fail(node, std::string(key) + ": " + why);
  if (bytes->find('\0') != std::string::npos)
    fail(node, std::string(key) + ": a text cannot hold a NUL character");
  return *bytes;
}

bool TomlReader::boolean(const toml::node& node, std::string_view key) const {
  const auto* b = node.as_boolean();
  if (!b) fail(node, expected(key, "true or false", node));
  return b->get();
}

int64_t TomlReader::integer(const toml::node& node, std::string_view key, int64_t low,
                            int64_t high) const {
  const auto* i = node.as_integer();
  if (!i) fail(node, expected(key, "an integer", node));
  const int64_t v = i->get();
  if (v < low || v > high)
    fail(node, std::string(key) + ": expected an integer from " + std::to_string(low) + " to " +
                   std::to_string(high) + ", found " + std::to_string(v));
  return v;
}

uint32_t TomlReader::code(const toml::node& node, std::string_view key,
                          std::span<const CodeName> table, bool allow_number, int64_t low,
                          int64_t high) const {
  if (allow_number && node.is_integer())
    return static_cast<uint32_t>(integer(node, key, low, high));
  std::string names;
  for (const auto& c : table) names += (names.empty() ? "\"" : ", \"") + std::string(c.name) + "\"";
  const auto* s = node.as_string();
  if (!s) fail(node, expected(key, "one of " + names + (allow_number ? " or a number" : ""), node));
  const auto c = code_of(table, s->get());
  if (!c) fail(node, std::string(key) + ": expected one of " + names + ", found \"" + s->get() + "\"");
  return *c;
}

int32_t TomlReader::colour(const toml::node& node, std::string_view key) const {
  if (node.is_integer()) return static_cast<int32_t>(integer(node, key, 0, 0xFFFFFF));
  const auto* s = node.as_string();
  if (!s) fail(node, expected(key, "a colour \"#RRGGBB\"", node));
  const std::string& v = s->get();
  const bool ok = v.size() == 7 && v[0] == '#' &&
                  std::all_of(v.begin() + 1, v.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
  if (!ok) fail(node, std::string(key) + ": expected a colour \"#RRGGBB\", found \"" + v + "\"");
  const unsigned long rgb = std::stoul(v.substr(1), nullptr, 16);
  // Stored as a colour reference: red in the low byte.
  return static_cast<int32_t>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

core::FileTime TomlReader::time(const toml::node& node, std::string_view key) const {
  core::FileTime t;
  auto check_date = [&](const toml::date& d) {
    t.year = d.year;
    t.month = d.month;
    t.day = d.day;
  };
  if (const auto* d = node.as_date()) {
    check_date(d->get());
    t.hour = -1;
    return t;
  }
  if (const auto* dt = node.as_date_time()) {
    if (dt->get().offset)
      fail(node, std::string(key) + ": expected a local date-time without a time zone (the "
                                    "installer stores wall-clock time)");
    check_date(dt->get().date);
    t.hour = dt->get().time.hour;
    t.minute = dt->get().time.minute;
    t.second = dt->get().time.second;
    return t;
  }
  fail(node, expected(key, "a date (2024-05-01) or a local date-time (2024-05-01T12:00:00)", node));
}

std::vector<std::string> TomlReader::utf8_list(const toml::node& node, std::string_view key) const {
  std::vector<std::string> out;
  if (node.is_string()) {
    out.push_back(utf8(node, key));
    return out;
  }
  const auto* a = node.as_array();
  if (!a) fail(node, expected(key, "a text or an array of texts", node));
  for (const auto& item : *a) out.push_back(utf8(item, key));
  return out;
}

int64_t TomlReader::byte_size(const toml::node& node, std::string_view key) const {
  if (node.is_integer()) return integer(node, key, 0, INT32_MAX);
  const auto* s = node.as_string();
  if (!s) fail(node, expected(key, "a size in bytes (1440000 or \"650M\")", node));
  const std::string& v = s->get();
  size_t used = 0;
  int64_t n = -1;
  try {
    n = std::stoll(v, &used);
  } catch (...) {
    used = 0;
  }
  int64_t scale = 1;
  const std::string unit = v.substr(used);
  if (unit == "K") scale = 1024;
  else if (unit == "M") scale = 1024 * 1024;
  else if (unit == "G") scale = 1024 * 1024 * 1024;
  else if (!unit.empty()) used = 0;
  if (used == 0 || n < 0 || n > INT32_MAX / scale)
    fail(node, std::string(key) + ": expected a size such as 1440000, \"700K\", \"650M\" or \"1G\" "
                                  "(below 2G), found \"" + v + "\"");
  return n * scale;
}

std::string TomlReader::file_bytes(const toml::node& node, std::string_view key) const {
  const std::string name = utf8(node, key);
  const std::filesystem::path path = base_dir_ / platform::path_from_utf8(name);
  std::ifstream in(path, std::ios::binary);
  if (!in || std::filesystem::is_directory(path))
    fail(node, std::string(key) + ": cannot read \"" + path.string() + "\": " +
                   (std::filesystem::is_directory(path) ? "it is a directory" : std::strerror(errno)));
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string TomlReader::text_file(const toml::node& node, std::string_view key) const {
  std::string bytes = file_bytes(node, key);
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
  std::string why;
  auto converted = utf8_to_cp1252(bytes, &why);
  std::string out;
  if (converted) {
    out = *converted;
  } else if (why.find("Windows-1252") != std::string::npos) {
    fail(node, std::string(key) + ": in \"" + utf8(node, key) + "\": " + why);
  } else {
    out = bytes;  // not UTF-8: taken as Windows-1252 text already
  }
  if (out.find('\0') != std::string::npos)
    fail(node, std::string(key) + ": \"" + utf8(node, key) + "\" holds a NUL byte; texts cannot");
  return out;
}

const toml::node* TomlScope::take(std::string_view key) {
  taken_.emplace_back(key);
  return table_.get(key);
}

const toml::node& TomlScope::require(std::string_view key) {
  const toml::node* node = take(key);
  if (!node) reader_.fail(table_.source(), qualified(key) + ": this key is required");
  return *node;
}

std::string TomlScope::qualified(std::string_view key) const {
  return name_.empty() ? std::string(key) : name_ + "." + std::string(key);
}

void TomlScope::finish() const {
  for (auto&& [key, value] : table_) {
    if (std::find(taken_.begin(), taken_.end(), key.str()) != taken_.end()) continue;
    const bool is_table = value.is_table() || value.is_array_of_tables();
    reader_.fail(key.source(), std::string("unknown ") + (is_table ? "table" : "key") + " \"" +
                                   qualified(key.str()) + "\" (docs/project-file.md lists every key)");
  }
}

}  // namespace qvin
