// Which of the files a pattern or directory walk finds a [[files]] rule takes: its
// exclude patterns, and dot files (names starting with '.') left out unless asked for.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qvin {

// True when the '/' separated `path` matches the '/' separated `pattern` segment by
// segment: each segment as glob_match sees it (so `*` never crosses a '/'), and a `**`
// segment for any number of directories, none included.
bool path_glob_match(std::string_view pattern, std::string_view path);

// The choice for one source pattern. Paths are '/' separated and relative to the
// pattern's directory. An exclude pattern with a '/' is matched against the whole path
// (a leading '/' only says so), one without against each file's or directory's own
// name; a trailing '/' makes it match directories only. A directory that is excluded,
// or a dot directory, is not entered.
class SourceFilter {
 public:
  // `dot_files`: take dot files and enter dot directories. `dot_pattern`: the file-name
  // pattern itself starts with '.', so it asks for dot files by name.
  SourceFilter(const std::vector<std::string>& excludes, bool dot_files, bool dot_pattern);

  bool takes_file(std::string_view relative) const;
  bool enters_directory(std::string_view relative) const;

 private:
  struct Exclude {
    std::string pattern;
    bool whole_path;      // matched against the whole relative path
    bool directory_only;  // written with a trailing '/'
  };
  bool excluded(std::string_view relative, bool directory) const;

  std::vector<Exclude> excludes_;
  bool dot_files_, dot_pattern_;
};

}  // namespace qvin
