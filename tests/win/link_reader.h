// Reads a shortcut file back through the shell's link object, for the tests and the
// ui-driver. COM must be initialised on the calling thread.
#pragma once

#include <string>

#include "core/win/windows.h"

#include <objbase.h>
#include <shlobj.h>

namespace test_support {

struct LinkFields {
  std::string target;
  std::string arguments;
  std::string working_directory;
  std::string icon;
  int icon_index = -1;
};

// False when the file cannot be loaded as a shortcut.
inline bool read_link(const std::string& path, LinkFields& fields) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  IPersistFile* file = nullptr;
  bool loaded = false;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    loaded = SUCCEEDED(file->Load(wide, STGM_READ));
    file->Release();
  }
  if (loaded) {
    char buffer[MAX_PATH] = {};
    link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH);
    fields.target = buffer;
    buffer[0] = 0;
    link->GetArguments(buffer, MAX_PATH);
    fields.arguments = buffer;
    buffer[0] = 0;
    link->GetWorkingDirectory(buffer, MAX_PATH);
    fields.working_directory = buffer;
    buffer[0] = 0;
    link->GetIconLocation(buffer, MAX_PATH, &fields.icon_index);
    fields.icon = buffer;
  }
  link->Release();
  return loaded;
}

}  // namespace test_support
