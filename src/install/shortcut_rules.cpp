// Shortcut file names, commands and working directories.
#include "install/shortcut_rules.h"

#include "install/quoted_run_codec.h"

namespace install {

core::String shortcut_file_path(const core::String& link_path) {
  constexpr const char* kExtension = ".LNK";
  constexpr int32_t kExtensionLength = 4;
  core::String path = link_path;
  bool has_extension = path.length() >= kExtensionLength &&
                       core::compare_no_case(path.text() + path.length() - kExtensionLength, kExtension) == 0;
  if (!has_extension) path.append(kExtension);
  return path;
}

ShortcutCommand shortcut_command(const core::String& target, const core::String& arguments) {
  ShortcutCommand command{target, arguments};
  if (!arguments.starts_with("~\"")) return command;
  core::String rest = arguments;
  rest.drop_front(1);
  command.target = cut_quoted_run(rest);
  command.target.trim();
  command.target.unquote();
  rest.trim_left();
  command.arguments = rest;
  return command;
}

core::String clean_working_directory(const core::String& text) {
  core::String directory = text;
  directory.trim();
  directory.unquote();
  directory.trim();
  return directory;
}

}  // namespace install
