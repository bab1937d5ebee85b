// Shell links written through IShellLinkA and IPersistFile.
#include "core/win/shell_link.h"

#include "core/paths.h"
#include "core/win/directories.h"
#include "core/win/windows.h"

#include <objbase.h>
#include <shlobj.h>

namespace core {

namespace {

bool is_blank_text(const char* text) { return text == nullptr || *text == 0; }

}  // namespace

bool create_shell_link(String& link_path, const char* target, const char* arguments, const char* working_directory,
                       const char* icon) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))) ||
      link == nullptr) {
    return false;
  }
  const char* link_target = target != nullptr ? target : "";
  link->SetPath(link_target);
  link->SetIconLocation(is_blank_text(icon) ? link_target : icon, 0);
  if (!is_blank_text(arguments)) link->SetArguments(arguments);
  if (!is_blank_text(working_directory)) link->SetWorkingDirectory(working_directory);

  IPersistFile* file = nullptr;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) || file == nullptr) {
    link->Release();
    return false;
  }

  if (link_path.find(".LNK", 0, search::IgnoreCase) < 0) link_path.append(".LNK");
  String directory = directory_part(link_path.text());
  if (!directory.is_empty()) create_directory(directory.text());

  // The shell takes the file name as a wide string.
  wchar_t wide_path[MAX_PATH + 1] = {};
  int converted = MultiByteToWideChar(CP_ACP, 0, link_path.text(), -1, wide_path, MAX_PATH);
  bool saved = converted > 0 && file->Save(wide_path, TRUE) == S_OK;
  file->Release();
  link->Release();
  return saved;
}

}  // namespace core
