// The folder browser.
#include "ui/folder_browser.h"

#include <shlobj.h>

#include "archive/language_tables.h"
#include "ui/message_pump.h"
#include "ui/run_state.h"

namespace ui {
namespace {

// Once the browser is up: centre it and open it at the starting path.
int CALLBACK browser_callback(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED) {
    center_window(window);
    SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
  }
  return 0;
}

}  // namespace

bool browse_for_folder(HWND owner, core::String& path) {
  LPITEMIDLIST root = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_DRIVES, &root)) || root == nullptr) return false;
  char display_name[MAX_PATH] = {};
  BROWSEINFOA info = {};
  info.hwndOwner = owner;
  info.pidlRoot = root;
  info.pszDisplayName = display_name;
  info.lpszTitle = localised(archive::text_id::DirectoryCaption).text();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = browser_callback;
  info.lParam = reinterpret_cast<LPARAM>(path.text());
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
  char chosen_path[MAX_PATH] = {};
  bool converted = chosen != nullptr && SHGetPathFromIDListA(chosen, chosen_path);
  // Both item lists belong to the shell's allocator, the root too when nothing was chosen.
  IMalloc* shell_memory = nullptr;
  if (SUCCEEDED(SHGetMalloc(&shell_memory)) && shell_memory != nullptr) {
    if (chosen != nullptr) shell_memory->Free(chosen);
    shell_memory->Free(root);
    shell_memory->Release();
  }
  if (!converted) return false;
  path = chosen_path;
  return true;
}

}  // namespace ui
