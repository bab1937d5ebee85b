// JSON output: escaping and indentation.
#include "qvin/commands/json.h"

#include <cstdio>

namespace qvin {

Json& Json::set(std::string key, Json value) {
  std::get<Object>(value_).emplace_back(std::move(key), std::move(value));
  return *this;
}

Json& Json::push(Json value) {
  std::get<Array>(value_).push_back(std::move(value));
  return *this;
}

namespace {

void quote(std::string& out, const std::string& s) {
  out += '"';
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (u < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", u);
          out += buf;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

}  // namespace

void Json::dump_to(std::string& out, int depth) const {
  const std::string pad(2 * (depth + 1), ' '), close(2 * depth, ' ');
  if (std::holds_alternative<std::nullptr_t>(value_)) {
    out += "null";
  } else if (const bool* b = std::get_if<bool>(&value_)) {
    out += *b ? "true" : "false";
  } else if (const int64_t* i = std::get_if<int64_t>(&value_)) {
    out += std::to_string(*i);
  } else if (const std::string* s = std::get_if<std::string>(&value_)) {
    quote(out, *s);
  } else if (const Array* a = std::get_if<Array>(&value_)) {
    if (a->empty()) {
      out += "[]";
      return;
    }
    out += "[\n";
    for (size_t k = 0; k < a->size(); ++k) {
      out += pad;
      (*a)[k].dump_to(out, depth + 1);
      out += k + 1 < a->size() ? ",\n" : "\n";
    }
    out += close + "]";
  } else if (const Object* o = std::get_if<Object>(&value_)) {
    if (o->empty()) {
      out += "{}";
      return;
    }
    out += "{\n";
    for (size_t k = 0; k < o->size(); ++k) {
      out += pad;
      quote(out, (*o)[k].first);
      out += ": ";
      (*o)[k].second.dump_to(out, depth + 1);
      out += k + 1 < o->size() ? ",\n" : "\n";
    }
    out += close + "}";
  }
}

std::string Json::dump() const {
  std::string out;
  dump_to(out, 0);
  out += '\n';
  return out;
}

}  // namespace qvin
