// COM self-registration and type-library registration.
#include "install/component_registration.h"

#include "core/win/windows.h"

#include <oaidl.h>

#include "core/paths.h"
#include "core/win/optional_functions.h"
#include "core/win/system_error.h"
#include "install/shared_files_codec.h"
#include "ui/progress_dialog.h"

namespace install {

namespace {

using ServerEntry = HRESULT(WINAPI*)();

constexpr int kRegKindNone = 2;  // REGKIND_NONE: loading must not register the library itself
constexpr int32_t kRegisteredPercent = 90;
constexpr int32_t kRegisteredStatus = 32;

enum class EntryResult { NotLoaded, NoEntry, Failed, Succeeded };

// Calls the named entry point of the server at path, loaded by its full path with its own
// directory searched first for the libraries it needs; hr receives its result. A relative
// path is not loaded: the search would pick whatever file of that name it met first.
EntryResult call_server_entry(const core::String& path, const char* entry, HRESULT& hr) {
  if (!core::is_absolute_path(path.text())) return EntryResult::NotLoaded;
  HMODULE module = LoadLibraryExA(path.text(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (module == nullptr) return EntryResult::NotLoaded;
  EntryResult result = EntryResult::NoEntry;
  // Through a plain function type: the exported address has the signature its name promises.
  auto function = reinterpret_cast<ServerEntry>(reinterpret_cast<void (*)()>(GetProcAddress(module, entry)));
  if (function != nullptr) {
    hr = function();
    result = SUCCEEDED(hr) ? EntryResult::Succeeded : EntryResult::Failed;
  }
  FreeLibrary(module);
  return result;
}

// A path as the automation library takes it: wide, at most MAX_PATH characters. A longer
// path is refused rather than cut, which would name another file.
struct WidePath {
  explicit WidePath(const core::String& path)
      : valid(!path.is_empty() && MultiByteToWideChar(CP_ACP, 0, path.text(), -1, text, MAX_PATH + 1) != 0) {}
  wchar_t text[MAX_PATH + 1] = {};
  bool valid;
};

// The type library at path, loaded without registering it; null (last error set) when it
// does not load. The caller releases it.
ITypeLib* load_type_library(const WidePath& path) {
  auto load = core::optional_function<core::Optional::LoadTypeLibEx>();
  if (load == nullptr) {
    core::set_last_error(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  if (!path.valid) {
    core::set_invalid_parameter_error();
    return nullptr;
  }
  ITypeLib* library = nullptr;
  HRESULT hr = load(path.text, kRegKindNone, &library);
  if (FAILED(hr) || library == nullptr) {
    if (library != nullptr) library->Release();
    core::set_last_error(static_cast<uint32_t>(FAILED(hr) ? hr : E_FAIL));
    return nullptr;
  }
  return library;
}

bool succeeded_or_set_error(HRESULT hr) {
  if (SUCCEEDED(hr)) return true;
  core::set_last_error(static_cast<uint32_t>(hr));
  return false;
}

void register_com_server(const core::String& path, core::String& log) {
  log.append_format("Registering COM File \"%s\"...", path.text());
  HRESULT hr = S_OK;
  switch (call_server_entry(path, "DllRegisterServer", hr)) {
    case EntryResult::NotLoaded: log.append("LoadLibrary() Failed\r\n"); break;
    case EntryResult::NoEntry: log.append("GetProcAddress() Failed\r\n"); break;
    case EntryResult::Failed:
      log.append_format("DllRegisterServer() Failed (0x%08lX)\r\n", static_cast<unsigned long>(hr));
      break;
    case EntryResult::Succeeded: log.append("OK\r\n"); break;
  }
}

void register_listed_type_library(const core::String& path, core::String& log) {
  log.append_format("Registering Type Library \"%s\"...", path.text());
  if (register_type_library(path)) {
    log.append("OK\r\n");
    return;
  }
  core::String reason = core::last_error_text();
  log.append("FAILED\r\n");
  if (reason.is_empty()) return;
  log.append(reason);
  if (!reason.ends_with_char('\n')) log.append("\r\n");
}

}  // namespace

bool register_type_library(const core::String& path) {
  auto register_library = core::optional_function<core::Optional::RegisterTypeLib>();
  if (register_library == nullptr) {
    core::set_last_error(ERROR_PROC_NOT_FOUND);
    return false;
  }
  WidePath wide(path);
  ITypeLib* library = load_type_library(wide);
  if (library == nullptr) return false;
  HRESULT hr = register_library(library, wide.text, nullptr);
  library->Release();
  return succeeded_or_set_error(hr);
}

bool unregister_type_library(const core::String& path) {
  auto unregister_library = core::optional_function<core::Optional::UnRegisterTypeLib>();
  if (unregister_library == nullptr) {
    core::set_last_error(ERROR_PROC_NOT_FOUND);
    return false;
  }
  ITypeLib* library = load_type_library(WidePath(path));
  if (library == nullptr) return false;
  TLIBATTR* attributes = nullptr;
  HRESULT hr = library->GetLibAttr(&attributes);
  if (SUCCEEDED(hr) && attributes != nullptr) {
    hr = unregister_library(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                            static_cast<int>(attributes->syskind));
    library->ReleaseTLibAttr(attributes);
  } else if (SUCCEEDED(hr)) {
    hr = E_FAIL;
  }
  library->Release();
  return succeeded_or_set_error(hr);
}

bool unregister_component(const core::String& path) {
  HRESULT hr = S_OK;
  return call_server_entry(path, "DllUnregisterServer", hr) == EntryResult::Succeeded;
}

bool unregister_shared_file(const SharedFile& file) {
  if (file.marker == shared_marker::ComServer) return unregister_component(file.target);
  if (file.marker == shared_marker::TypeLibrary) return unregister_type_library(file.target);
  return true;
}

void register_components(const InstallContext& context) {
  RunRecords& records = context.records;
  if (records.com_targets.count() == 0 && records.type_libraries.count() == 0) return;
  for (const core::String& path : records.com_targets) register_com_server(path, records.install_log);
  for (const core::String& path : records.type_libraries) register_listed_type_library(path, records.install_log);
  ui::set_status_and_progress(kRegisteredStatus, kRegisteredPercent);
}

}  // namespace install
