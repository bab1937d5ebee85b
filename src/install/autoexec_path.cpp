// The installation directory on the PATH of "autoexec.bat".
#include "install/autoexec_path.h"

#include "core/win/file.h"
#include "core/win/system_folders.h"
#include "install/autoexec_rules.h"
#include "install/restart_replace.h"

namespace install {

namespace {

core::String unable_to_modify(const core::String& path, bool add, const core::String& install_directory) {
  return core::format_string("Unable to modify %s.  You will need to manually %s %s %s the PATH environment variable.\r\n\r\n",
                             path.text(), add ? "add" : "remove", install_directory.text(), add ? "to" : "from");
}

}  // namespace

core::String update_autoexec_file(const core::String& path, bool add, const core::String& install_directory) {
  core::File file;
  uint32_t flags = add ? core::file_open::ReadWriteAlways : core::file_open::ReadWrite;
  core::String text;
  if (file.open(path.text(), flags) != core::OpenResult::Opened || !file.load_all(text)) {
    return unable_to_modify(path, add, install_directory);
  }
  core::String entry = autoexec_path_entry(short_path_form(install_directory).text());
  bool changed = add ? add_autoexec_line(text, entry) : remove_autoexec_line(text, entry);
  // A write that fails leaves the PATH as it was: the user must be told.
  if (changed && !(file.rewrite(text) && file.close())) return unable_to_modify(path, add, install_directory);
  return core::String();
}

core::String update_autoexec_path(bool add, const core::String& install_directory) {
  core::String path = core::format_string("%c:\\autoexec.bat", core::boot_drive_letter());
  return update_autoexec_file(path, add, install_directory);
}

}  // namespace install
