// File patterns on text alone.
#include "install/file_pattern_rules.h"

#include "core/paths.h"

namespace install {

bool take_recursive_suffix(core::String& pattern) {
  int32_t length = pattern.length();
  if (length < 3) return false;
  const char* end = pattern.text() + length - 3;
  if (end[0] != ' ' || end[1] != '/' || core::ascii::to_lower(end[2]) != 's') return false;
  pattern.truncate(length - 3);
  pattern.trim_right();
  return true;
}

void split_file_patterns(const core::String& text, const char* default_directory,
                         core::Vector<FilePattern>& patterns) {
  core::Vector<core::String> lines;
  text.split_lines(lines);
  for (int32_t index = 0; index < lines.count(); ++index) {
    core::String& line = lines[index];
    line.trim();
    if (line.is_empty()) continue;
    core::String line_directory = core::directory_part(line.text());
    line_directory.trim();
    if (line_directory.is_empty()) {
      line_directory = default_directory;
    } else {
      core::resolve_path(line_directory, default_directory);
    }
    core::Vector<core::String> pieces;
    line.split(pieces, ";", core::split_flag::Trim | core::split_flag::KeepQuoted);
    for (core::String& piece : pieces) {
      if (piece.is_empty()) continue;
      // A pattern naming its own directory (the line's first one always does) takes it
      // from the default directory, not from the line's directory a second time.
      bool own_directory = piece.find_any_of("\\:") >= 0;
      core::resolve_path(piece, own_directory ? default_directory : line_directory.text());
      patterns.append(FilePattern{index + 1, piece});
    }
  }
}

}  // namespace install
