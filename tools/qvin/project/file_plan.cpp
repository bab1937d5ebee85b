// [[files]] rules -> sources (paths, patterns, recursion) -> file-table records.
#include "qvin/project/file_plan.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "archive/checksum.h"
#include "qvin/platform/system.h"
#include "qvin/project/errors.h"
#include "qvin/project/pe_version.h"
#include "qvin/project/source_filter.h"
#include "qvin/project/source_times.h"
#include "qvin/project/text_encoding.h"

namespace qvin {
namespace fs = std::filesystem;

bool glob_match(std::string_view pattern, std::string_view name) {
  size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
      continue;
    }
    if (p < pattern.size() && pattern[p] == '[') {
      const size_t close = pattern.find(']', p + 1);
      if (close != std::string_view::npos) {
        std::string_view set = pattern.substr(p + 1, close - p - 1);
        const bool negate = !set.empty() && (set[0] == '!' || set[0] == '^');
        if (negate) set.remove_prefix(1);
        bool hit = false;
        for (size_t i = 0; i < set.size(); ++i) {
          if (i + 2 < set.size() && set[i + 1] == '-') {
            hit |= name[n] >= set[i] && name[n] <= set[i + 2];
            i += 2;
          } else {
            hit |= name[n] == set[i];
          }
        }
        if (hit != negate) {
          p = close + 1;
          ++n;
          continue;
        }
      }
    } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
      continue;
    }
    if (star == std::string_view::npos) return false;
    p = star + 1;
    n = ++resume;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

namespace {

bool has_wildcard(std::string_view s) { return s.find_first_of("*?[") != std::string_view::npos; }

[[noreturn]] void rule_error(const FileRule& rule, const std::string& message) {
  throw ProjectError(rule.where + ": files.source: " + message);
}

std::string prefixed(std::string prefix, const std::string& name) {
  while (!prefix.empty() && prefix.back() == '\\') prefix.pop_back();
  return prefix.empty() ? name : prefix + "\\" + name;
}

std::string stored_name_of(const FileRule& rule, const fs::path& relative) {
  std::string name = relative.generic_string();
  std::replace(name.begin(), name.end(), '/', '\\');
  std::string why;
  const auto bytes = utf8_to_cp1252(name, &why);
  if (!bytes) rule_error(rule, "the name \"" + name + "\": " + why + "; give the file a name");
  return prefixed(rule.subdirectory, *bytes);
}

}  // namespace

std::vector<SourceFile> expand_sources(const FileRule& rule, const fs::path& base_dir) {
  std::vector<SourceFile> out;
  for (const std::string& source : rule.sources) {
    const fs::path pattern = base_dir / platform::path_from_utf8(source);
    fs::path dir = pattern.parent_path();
    std::string leaf = pattern.filename().string();
    if (has_wildcard(dir.string()))
      rule_error(rule, "\"" + source + "\": wildcards are allowed only in the file name part");
    std::error_code ec;
    if (!has_wildcard(leaf)) {
      if (fs::is_directory(pattern, ec)) {
        if (!rule.recursive)
          rule_error(rule, "\"" + pattern.string() + "\" is a directory; add recursive = true or a pattern");
        dir = pattern;
        leaf = "*";
      } else if (!rule.recursive) {
        if (!fs::is_regular_file(pattern, ec))
          rule_error(rule, "cannot read \"" + pattern.string() + "\": " +
                               (fs::exists(pattern, ec) ? "not a regular file" : "no such file"));
        std::string stored = stored_name_of(rule, pattern.filename());
        if (rule.name) stored = rule.subdirectory.empty() ? *rule.name : prefixed(rule.subdirectory, *rule.name);
        out.push_back({pattern, stored});
        continue;
      }
    }
    if (!fs::is_directory(dir, ec)) rule_error(rule, "\"" + dir.string() + "\": no such directory");
    const SourceFilter filter(rule.excludes, rule.dot_files, leaf.starts_with('.'));
    std::vector<SourceFile> found;
    size_t left_out = 0;
    auto consider = [&](const fs::directory_entry& entry) {
      std::error_code e2;
      if (!entry.is_regular_file(e2)) return;
      if (!glob_match(leaf, entry.path().filename().string())) return;
      const fs::path relative = entry.path().lexically_relative(dir);
      if (!filter.takes_file(relative.generic_string())) {
        ++left_out;
        return;
      }
      found.push_back({entry.path(), stored_name_of(rule, relative)});
    };
    if (rule.recursive) {
      fs::recursive_directory_iterator it(dir, fs::directory_options::follow_directory_symlink, ec);
      for (const fs::recursive_directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::error_code e2;
        if (it->is_directory(e2)) {
          // Pruned here, so nothing below an excluded directory is even listed.
          if (!filter.enters_directory(it->path().lexically_relative(dir).generic_string())) {
            it.disable_recursion_pending();
            ++left_out;
          }
          continue;
        }
        consider(*it);
      }
    } else {
      for (const auto& entry : fs::directory_iterator(dir, ec)) consider(entry);
    }
    if (ec) rule_error(rule, "cannot list \"" + dir.string() + "\": " + ec.message());
    if (found.empty())
      rule_error(rule, "\"" + source + "\" matches no file" +
                           (left_out ? " once exclude patterns and dot files are left out (" +
                                           std::to_string(left_out) + " left out)"
                                     : std::string()));
    std::sort(found.begin(), found.end(),
              [](const SourceFile& a, const SourceFile& b) { return a.stored_name < b.stored_name; });
    out.insert(out.end(), found.begin(), found.end());
  }
  return out;
}

bool read_source(const fs::path& path, std::optional<int64_t> size, std::string& bytes) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return false;
  const std::streamoff length = in.tellg();
  if (length < 0) return false;
  // Only the bytes the record keeps are read; a cut file is not read to its end.
  const std::streamoff wanted = size ? std::min<std::streamoff>(length, *size) : length;
  bytes.resize(static_cast<size_t>(wanted));
  in.seekg(0);
  if (wanted > 0 && !in.read(bytes.data(), wanted)) return false;
  if (size) bytes.resize(static_cast<size_t>(*size), '\0');
  return true;
}

std::string deferred_bytes(const DeferredData& source) {
  std::string bytes;
  if (!read_source(source.path, source.cut, bytes))
    throw ProjectError("cannot read \"" + source.path.string() + "\": " + std::strerror(errno));
  if (static_cast<int64_t>(bytes.size()) != source.size ||
      archive::archive_checksum(bytes.data(), static_cast<int64_t>(bytes.size())) != source.checksum)
    throw ProjectError("\"" + source.path.string() + "\" changed while the installer was being built");
  return bytes;
}

std::vector<FileRecord> plan_files(const Project& project, std::optional<int64_t> epoch,
                                   const std::function<void(uint64_t)>& progress) {
  std::vector<FileRecord> records;
  std::string bytes;  // one file at a time: the records keep only where their data is
  for (const FileRule& rule : project.files) {
    for (const SourceFile& source : expand_sources(rule, project.base_dir)) {
      FileRecord r;
      if (!read_source(source.path, rule.size, bytes))
        rule_error(rule, "cannot read \"" + source.path.string() + "\": " + std::strerror(errno));
      if (bytes.size() > 0x40000000u)
        rule_error(rule, "\"" + source.path.string() + "\" is larger than the 1 GiB an installer file may hold");
      const uint32_t checksum = archive::archive_checksum(bytes.data(), static_cast<int64_t>(bytes.size()));
      r.deferred = DeferredData{source.path, static_cast<int64_t>(bytes.size()), checksum, rule.size};
      archive::FileEntry& e = r.entry;
      e.name = to_core(source.stored_name);
      e.kind = rule.kind;
      e.flags = rule.flags;
      e.attributes = rule.attributes;
      e.checksum = rule.checksum ? *rule.checksum : checksum;
      e.time = rule.time ? *rule.time : file_stamp(source.path, epoch);
      switch (archive::entry_text(e.kind)) {
        case archive::EntryText::Version: e.text = to_core(rule.version ? *rule.version : pe_file_version(bytes)); break;
        case archive::EntryText::FontName: e.text = to_core(rule.font_name); break;
        case archive::EntryText::ShortcutName: e.text = to_core(rule.shortcut_name); break;
        case archive::EntryText::Nothing: break;
      }
      if (e.flags & archive::file_flag::ShortcutMask) e.icon = to_core(rule.icon);
      e.arguments = to_core(rule.arguments);
      e.destination = to_core(rule.destination);
      e.working_directory = to_core(rule.working_dir);
      if (progress) progress(bytes.size());
      records.push_back(std::move(r));
    }
  }
  return records;
}

}  // namespace qvin
