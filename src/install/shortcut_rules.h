// The shortcut rules that need no machine.
#pragma once

#include "core/string.h"

namespace install {

// The file name of a shortcut: the path with ".LNK" appended, unless it already ends with
// that extension in any case ("Tool.lnk" stays; "My .lnk notes" gets one).
core::String shortcut_file_path(const core::String& link_path);

// What a shortcut starts: arguments of the form ~"program" rest (a doubled quote inside
// the run stands for one) start that program, trimmed, with the rest, trimmed on the left,
// as arguments; any other arguments start `target` with the arguments unchanged.
struct ShortcutCommand {
  core::String target;
  core::String arguments;
};
ShortcutCommand shortcut_command(const core::String& target, const core::String& arguments);

// A working directory as the file table gives it: trimmed, one pair of enclosing double
// quotes removed, trimmed again. (An empty result means the installation directory.)
core::String clean_working_directory(const core::String& text);

// The shortcut mode that puts shortcuts into the all-users folders (any other: the
// current user's).
inline constexpr int kAllUsersShortcutMode = 1;

}  // namespace install
