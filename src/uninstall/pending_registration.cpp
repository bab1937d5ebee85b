// Undoing the installation's registrations.
#include "uninstall/pending_registration.h"

#include <ole2.h>
#include <oleauto.h>

#include "core/paths.h"
#include "core/win/optional_functions.h"
#include "core/win/registry.h"
#include "core/win/system_folders.h"
#include "install/shared_files_codec.h"
#include "ui/system_version.h"

namespace install {

const char kSharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

namespace {

const char* font_key_path() {
  return ui::is_nt_family() ? "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts"
                            : "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";
}

bool unregister_component(const core::String& path) {
  HMODULE module = LoadLibraryA(path.text());
  if (module == nullptr) return false;
  using Entry = HRESULT(STDAPICALLTYPE*)();
  auto entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, "DllUnregisterServer")));
  bool done = entry != nullptr && entry() >= 0;
  FreeLibrary(module);
  return done;
}

bool unregister_type_library(const core::String& path) {
  auto load = core::optional_function<core::Optional::LoadTypeLib>();
  auto unregister = core::optional_function<core::Optional::UnRegisterTypeLib>();
  if (load == nullptr || unregister == nullptr) return false;
  wchar_t wide[MAX_PATH + 1] = {};
  if (MultiByteToWideChar(CP_ACP, 0, path.text(), -1, wide, MAX_PATH) == 0) return false;
  ITypeLib* library = nullptr;
  if (load(wide, &library) < 0 || library == nullptr) return false;
  TLIBATTR* attributes = nullptr;
  HRESULT result = library->GetLibAttr(&attributes);
  if (result >= 0 && attributes != nullptr) {
    result = unregister(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                        static_cast<int>(attributes->syskind));
    library->ReleaseTLibAttr(attributes);
  }
  library->Release();
  return result >= 0;
}

}  // namespace

bool unregister_font(const core::String& face) {
  if (face.is_blank()) return true;
  core::RegistryKey key;
  if (key.open(HKEY_LOCAL_MACHINE, font_key_path(), core::registry_option::ExistingOnly) ==
      core::KeyOpenResult::Failed) {
    return true;
  }
  if (!key.value_exists(face.text())) return true;
  return key.delete_value(face.text()) == core::KeyDeleteResult::Deleted;
}

core::String font_file_path(const core::String& file, const core::ProcessEnvironment& env) {
  if (core::is_absolute_path(file.text())) return file;
  core::String folder = core::special_folder(core::SpecialFolder::Fonts, env.windows_directory.text());
  return core::join_path(folder.text(), file.text());
}

void broadcast_font_change() {
  constexpr UINT kTimeoutMs = 5000;
  SendMessageTimeoutA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, nullptr);
}

bool unregister_shared_file(const SharedFile& file) {
  if (file.marker == shared_marker::ComServer) return unregister_component(file.target);
  if (file.marker == shared_marker::TypeLibrary) return unregister_type_library(file.target);
  return true;
}

}  // namespace install
