// Exclude patterns and dot files of [[files]] rules.
#include "qvin/project/source_filter.h"

#include "qvin/project/file_plan.h"

namespace qvin {
namespace {

std::vector<std::string_view> segments(std::string_view path) {
  std::vector<std::string_view> out;
  while (!path.empty()) {
    const size_t slash = path.find('/');
    const std::string_view part = path.substr(0, slash);
    if (!part.empty()) out.push_back(part);
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return out;
}

bool segments_match(const std::string_view* pattern, size_t pattern_count, const std::string_view* path,
                    size_t path_count) {
  if (pattern_count == 0) return path_count == 0;
  if (*pattern == "**") {
    for (size_t skip = 0; skip <= path_count; ++skip)
      if (segments_match(pattern + 1, pattern_count - 1, path + skip, path_count - skip)) return true;
    return false;
  }
  return path_count > 0 && glob_match(*pattern, *path) &&
         segments_match(pattern + 1, pattern_count - 1, path + 1, path_count - 1);
}

std::string_view last_segment(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool is_dot_name(std::string_view name) { return !name.empty() && name[0] == '.'; }

}  // namespace

bool path_glob_match(std::string_view pattern, std::string_view path) {
  const auto p = segments(pattern);
  const auto n = segments(path);
  return segments_match(p.data(), p.size(), n.data(), n.size());
}

SourceFilter::SourceFilter(const std::vector<std::string>& excludes, bool dot_files, bool dot_pattern)
    : dot_files_(dot_files), dot_pattern_(dot_pattern) {
  for (std::string pattern : excludes) {
    Exclude e;
    e.directory_only = !pattern.empty() && pattern.back() == '/';
    while (!pattern.empty() && pattern.back() == '/') pattern.pop_back();
    e.whole_path = pattern.find('/') != std::string::npos;
    e.pattern = std::move(pattern);
    excludes_.push_back(std::move(e));
  }
}

bool SourceFilter::excluded(std::string_view relative, bool directory) const {
  for (const Exclude& e : excludes_) {
    if (e.directory_only && !directory) continue;
    if (e.whole_path ? path_glob_match(e.pattern, relative) : glob_match(e.pattern, last_segment(relative)))
      return true;
  }
  return false;
}

bool SourceFilter::takes_file(std::string_view relative) const {
  if (is_dot_name(last_segment(relative)) && !dot_files_ && !dot_pattern_) return false;
  return !excluded(relative, false);
}

bool SourceFilter::enters_directory(std::string_view relative) const {
  if (is_dot_name(last_segment(relative)) && !dot_files_) return false;
  return !excluded(relative, true);
}

}  // namespace qvin
