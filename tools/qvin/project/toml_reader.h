// Checked access to the values of a parsed TOML document, with "FILE:LINE:COL" messages.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <toml++/toml.h>

#include "qvin/project/flag_names.h"
#include "qvin/project/project_model.h"

namespace qvin {

// Reads values out of one document; every failure throws ProjectError at the place of
// the offending node.
class TomlReader {
 public:
  TomlReader(std::string display_name, std::filesystem::path base_dir)
      : display_name_(std::move(display_name)), base_dir_(std::move(base_dir)) {}

  // "FILE:LINE:COL" of a source position.
  std::string place(const toml::source_region& region) const;
  [[noreturn]] void fail(const toml::source_region& region, const std::string& message) const;
  [[noreturn]] void fail(const toml::node& node, const std::string& message) const {
    fail(node.source(), message);
  }

  // Windows-1252 text of a string node.
  std::string text(const toml::node& node, std::string_view key) const;
  // UTF-8 text of a string node (paths on this machine).
  std::string utf8(const toml::node& node, std::string_view key) const;
  bool boolean(const toml::node& node, std::string_view key) const;
  int64_t integer(const toml::node& node, std::string_view key, int64_t low, int64_t high) const;
  // A name of `table`, or (when `allow_number`) a number in low..high.
  uint32_t code(const toml::node& node, std::string_view key, std::span<const CodeName> table,
                bool allow_number = false, int64_t low = 0, int64_t high = 0) const;
  // "#RRGGBB" or a number, as a colour reference 0x00BBGGRR.
  int32_t colour(const toml::node& node, std::string_view key) const;
  // A local date-time, or a date (no time of day).
  core::FileTime time(const toml::node& node, std::string_view key) const;
  // One string or an array of strings, as UTF-8.
  std::vector<std::string> utf8_list(const toml::node& node, std::string_view key) const;
  // A size in bytes: a number, or a text such as "650M" (K, M, G are powers of 1024).
  int64_t byte_size(const toml::node& node, std::string_view key) const;

  // The bytes of the file a string node names, relative to the project's directory.
  std::string file_bytes(const toml::node& node, std::string_view key) const;
  // A text file's contents in Windows-1252: UTF-8 (a leading BOM dropped) when it is
  // valid UTF-8, else taken as Windows-1252 already; a NUL byte is refused.
  std::string text_file(const toml::node& node, std::string_view key) const;

  const std::filesystem::path& base_dir() const { return base_dir_; }
  const std::string& display_name() const { return display_name_; }

 private:
  std::string display_name_;
  std::filesystem::path base_dir_;
};

// The keys of one table: each is taken by name, and whatever is left over when the
// table is finished is an unknown key.
class TomlScope {
 public:
  TomlScope(const TomlReader& reader, const toml::table& table, std::string name)
      : reader_(reader), table_(table), name_(std::move(name)) {}

  // The node of `key`, or null when it is absent. Marks the key as known.
  const toml::node* take(std::string_view key);
  // Like take, but absent is a mistake.
  const toml::node& require(std::string_view key);
  // "section.key" for messages.
  std::string qualified(std::string_view key) const;
  // Throws at the first key that was never taken.
  void finish() const;

  const toml::table& table() const { return table_; }
  const std::string& name() const { return name_; }

 private:
  const TomlReader& reader_;
  const toml::table& table_;
  std::string name_;
  std::vector<std::string> taken_;
};

// A readable name of a node's type ("a text", "an integer"...).
std::string_view type_phrase(const toml::node& node);

}  // namespace qvin
