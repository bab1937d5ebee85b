// A small JSON reader for tests: parses the tool's JSON output into a toml++ tree, so
// tests can walk it like the project file (null becomes the text "null").
#pragma once

#include <cctype>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include <toml++/toml.h>

namespace qvin_test {

class JsonParser {
 public:
  explicit JsonParser(std::string_view text) : s_(text) {}

  toml::table parse_object_root() {
    skip();
    toml::table t = object();
    skip();
    if (i_ != s_.size()) fail("trailing text");
    return t;
  }

 private:
  [[noreturn]] void fail(const char* what) { throw std::runtime_error(std::string("JSON: ") + what + " at " + std::to_string(i_)); }
  void skip() {
    while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
  }
  bool eat(char c) {
    skip();
    if (i_ < s_.size() && s_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  std::string string() {
    if (!eat('"')) fail("expected a string");
    std::string out;
    while (i_ < s_.size() && s_[i_] != '"') {
      char c = s_[i_++];
      if (c == '\\') {
        const char e = s_[i_++];
        switch (e) {
          case 'n': c = '\n'; break;
          case 'r': c = '\r'; break;
          case 't': c = '\t'; break;
          case 'u': c = static_cast<char>(std::stoi(std::string(s_.substr(i_, 4)), nullptr, 16)); i_ += 4; break;
          default: c = e;
        }
      }
      out += c;
    }
    ++i_;
    return out;
  }
  toml::table object() {
    toml::table t;
    if (!eat('{')) fail("expected an object");
    if (eat('}')) return t;
    do {
      skip();
      std::string key = string();
      if (!eat(':')) fail("expected ':'");
      insert(t, key);
    } while (eat(','));
    if (!eat('}')) fail("expected '}'");
    return t;
  }
  toml::array array() {
    toml::array a;
    if (!eat('[')) fail("expected an array");
    if (eat(']')) return a;
    do {
      skip();
      const char c = s_[i_];
      if (c == '{') a.push_back(object());
      else if (c == '[') a.push_back(array());
      else if (c == '"') a.push_back(string());
      else if (s_.substr(i_, 4) == "true") { i_ += 4; a.push_back(true); }
      else if (s_.substr(i_, 5) == "false") { i_ += 5; a.push_back(false); }
      else if (s_.substr(i_, 4) == "null") { i_ += 4; a.push_back("null"); }
      else a.push_back(number());
    } while (eat(','));
    if (!eat(']')) fail("expected ']'");
    return a;
  }
  int64_t number() {
    size_t used = 0;
    const int64_t v = std::stoll(std::string(s_.substr(i_, 24)), &used);
    i_ += used;
    return v;
  }
  void insert(toml::table& t, const std::string& key) {
    skip();
    const char c = s_[i_];
    if (c == '{') t.insert(key, object());
    else if (c == '[') t.insert(key, array());
    else if (c == '"') t.insert(key, string());
    else if (s_.substr(i_, 4) == "true") { i_ += 4; t.insert(key, true); }
    else if (s_.substr(i_, 5) == "false") { i_ += 5; t.insert(key, false); }
    else if (s_.substr(i_, 4) == "null") { i_ += 4; t.insert(key, "null"); }
    else t.insert(key, number());
  }

  std::string_view s_;
  size_t i_ = 0;
};

// Equal scalars (text, integer, boolean) or arrays of equal elements.
inline bool nodes_equal(const toml::node& a, const toml::node& b) {
  if (a.type() != b.type()) return false;
  if (a.is_string()) return a.value<std::string>() == b.value<std::string>();
  if (a.is_integer()) return a.value<int64_t>() == b.value<int64_t>();
  if (a.is_boolean()) return a.value<bool>() == b.value<bool>();
  if (const auto* x = a.as_array()) {
    const auto* y = b.as_array();
    if (x->size() != y->size()) return false;
    for (size_t i = 0; i < x->size(); ++i)
      if (!nodes_equal(*x->get(i), *y->get(i))) return false;
    return true;
  }
  return false;
}

// A readable form of a node for failure messages.
inline std::string node_text(const toml::node& n) {
  std::ostringstream out;
  n.visit([&](const auto& v) { out << v; });
  return out.str();
}

inline toml::table parse_json(std::string_view text) { return JsonParser(text).parse_object_root(); }

}  // namespace qvin_test
