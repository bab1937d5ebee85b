// Run-time binding: the library object and the table of optional system functions.
#include "core/win/optional_functions.h"

#include "core/paths.h"
#include "core/string.h"

namespace core {

RuntimeLibrary::~RuntimeLibrary() { free(); }

void RuntimeLibrary::free() {
  if (module_ != nullptr) {
    FreeLibrary(module_);
    module_ = nullptr;
  }
}

bool RuntimeLibrary::load_library(const char* name) {
  free();
  if (name == nullptr || *name == 0) return false;
  module_ = LoadLibraryA(name);
  return module_ != nullptr;
}

bool RuntimeLibrary::bind(const char* name, AnyFunction* slot) {
  if (slot == nullptr) return false;
  *slot = nullptr;
  if (module_ == nullptr || name == nullptr) return false;
  *slot = reinterpret_cast<AnyFunction>(GetProcAddress(module_, name));
  return *slot != nullptr;
}

bool RuntimeLibrary::bind_lazily(const char* name, AnyFunction* slot) {
  if (slot == nullptr) return false;
  if (*slot != nullptr) return true;
  if (module_ == nullptr && !load_library(name_)) return false;
  return bind(name, slot);
}

bool RuntimeLibrary::bind_table(const BindEntry* entries, int count) {
  bool all = true;
  for (int i = 0; i < count; ++i) {
    if (!bind(entries[i].name, entries[i].slot) && !entries[i].optional) all = false;
  }
  return all;
}

namespace {

struct OptionalRow {
  const char* library;
  const char* name;
};

// In the order of the Optional enumeration.
constexpr OptionalRow optional_rows[] = {
    {"kernel32.dll", "MoveFileExA"},
    {"kernel32.dll", "GetDiskFreeSpaceExA"},
    {"msimg32.dll", "GradientFill"},
    {"advapi32.dll", "OpenProcessToken"},
    {"advapi32.dll", "LookupPrivilegeValueA"},
    {"advapi32.dll", "AdjustTokenPrivileges"},
    {"oleaut32.dll", "LoadTypeLibEx"},
    {"oleaut32.dll", "RegisterTypeLib"},
    {"oleaut32.dll", "UnRegisterTypeLib"},
    {"shell32.dll", "SHGetSpecialFolderPathA"},
    {"shell32.dll", "SHChangeNotify"},
};
constexpr int optional_count = static_cast<int>(Optional::Count);
static_assert(sizeof(optional_rows) / sizeof(optional_rows[0]) == optional_count,
              "one row per optional function");

// Plain zero-initialised state: no constructors run at start-up. The libraries stay
// loaded until the process ends, so the addresses stay valid.
AnyFunction addresses[optional_count];
bool looked_up[optional_count];
bool forced_absent[optional_count];

int index_of(Optional which) {
  int index = static_cast<int>(which);
  return index >= 0 && index < optional_count ? index : -1;
}

// The library from the system directory, by its full path: a bare name would be looked up
// in the program's own directory first, where a planted copy of a system library could lie.
HMODULE module_of(const char* library) {
  char directory[MAX_PATH] = {};
  UINT length = GetSystemDirectoryA(directory, sizeof(directory));
  if (length == 0 || length >= sizeof(directory)) return nullptr;
  String path = join_path(directory, library);
  // Libraries already mapped (kernel32 always is) are used without a new reference.
  HMODULE module = GetModuleHandleA(path.text());
  return module != nullptr ? module : LoadLibraryA(path.text());
}

}  // namespace

AnyFunction optional_address(Optional which) {
  int index = index_of(which);
  if (index < 0 || forced_absent[index]) return nullptr;
  if (!looked_up[index]) {
    looked_up[index] = true;
    HMODULE module = module_of(optional_rows[index].library);
    if (module != nullptr) {
      addresses[index] = reinterpret_cast<AnyFunction>(GetProcAddress(module, optional_rows[index].name));
    }
  }
  return addresses[index];
}

const char* optional_name(Optional which) {
  int index = index_of(which);
  return index < 0 ? "" : optional_rows[index].name;
}

const char* optional_library(Optional which) {
  int index = index_of(which);
  return index < 0 ? "" : optional_rows[index].library;
}

void force_absent(Optional which, bool absent) {
  int index = index_of(which);
  if (index >= 0) forced_absent[index] = absent;
}

}  // namespace core
