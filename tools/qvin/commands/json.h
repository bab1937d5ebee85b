// A small JSON value for `qvin info --json`: ordered objects, UTF-8 output.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace qvin {

// A JSON value; objects keep their keys in insertion order.
class Json {
 public:
  using Array = std::vector<Json>;
  using Object = std::vector<std::pair<std::string, Json>>;

  Json() : value_(nullptr) {}
  Json(std::nullptr_t) : value_(nullptr) {}
  Json(bool b) : value_(b) {}
  Json(int v) : value_(static_cast<int64_t>(v)) {}
  Json(int64_t v) : value_(v) {}
  Json(uint32_t v) : value_(static_cast<int64_t>(v)) {}
  Json(uint64_t v) : value_(static_cast<int64_t>(v)) {}
  Json(const char* s) : value_(std::string(s)) {}
  Json(std::string s) : value_(std::move(s)) {}
  Json(Array a) : value_(std::move(a)) {}
  Json(Object o) : value_(std::move(o)) {}

  static Json object() { return Json(Object{}); }
  static Json array() { return Json(Array{}); }

  // Adds a member to an object (the value must be an object).
  Json& set(std::string key, Json value);
  // Appends to an array (the value must be an array).
  Json& push(Json value);

  // The members of an object, or null for any other value.
  const Object* as_object() const { return std::get_if<Object>(&value_); }

  // The text form, pretty-printed with two-space indentation. Strings must be UTF-8.
  std::string dump() const;

 private:
  void dump_to(std::string& out, int depth) const;
  std::variant<std::nullptr_t, bool, int64_t, std::string, Array, Object> value_;
};

}  // namespace qvin
