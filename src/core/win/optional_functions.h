// Run-time binding of system functions that older Windows versions may lack: the library
// object, and the one table of every optional function the program uses.
#pragma once

#include <stdint.h>

#include "core/win/windows.h"

struct ITypeLib;

namespace core {

// Any function address; cast to the real type before calling.
using AnyFunction = void (*)();

// One row of a binding table: the exported name, where its address goes, and whether
// the table may succeed without it.
struct BindEntry {
  const char* name;
  AnyFunction* slot;
  bool optional;
};

// A library loaded at run time. Holds one module; loading another frees the previous
// one, and destruction frees it. Never shows anything; failures are results.
class RuntimeLibrary {
 public:
  // Remembers `name` for bind_lazily; loads nothing yet.
  explicit RuntimeLibrary(const char* name = nullptr) : name_(name) {}
  ~RuntimeLibrary();
  RuntimeLibrary(const RuntimeLibrary&) = delete;
  RuntimeLibrary& operator=(const RuntimeLibrary&) = delete;

  // LoadLibraryA(name) after freeing any module held; false when it does not load.
  bool load_library(const char* name);
  // Frees the module held, if any.
  void free();
  bool is_loaded() const { return module_ != nullptr; }

  // GetProcAddress into *slot; without a module (or without the export) the slot is
  // cleared and the result is false.
  bool bind(const char* name, AnyFunction* slot);
  // True at once when *slot is already set; otherwise loads the library named at
  // construction if nothing is loaded yet, then binds.
  bool bind_lazily(const char* name, AnyFunction* slot);
  // Binds every row; false when a row without the optional mark stays unbound (the
  // other rows are still bound).
  bool bind_table(const BindEntry* entries, int count);

  // Typed forms of bind and bind_lazily for a slot of a function-pointer type.
  template <class Pointer>
  bool bind(const char* name, Pointer& slot) {
    AnyFunction any = nullptr;
    bool bound = bind(name, &any);
    slot = reinterpret_cast<Pointer>(any);
    return bound;
  }
  template <class Pointer>
  bool bind_lazily(const char* name, Pointer& slot) {
    AnyFunction any = reinterpret_cast<AnyFunction>(slot);
    bool bound = bind_lazily(name, &any);
    slot = reinterpret_cast<Pointer>(any);
    return bound;
  }

 private:
  const char* name_;
  HMODULE module_ = nullptr;
};

// Every function of the program that is bound at run time. Each library is loaded from the
// system directory on first use and kept until the process ends; each address is looked up
// once.
enum class Optional : int {
  MoveFileExA,              // kernel32: absent on the 9x family (wininit.ini instead)
  GetDiskFreeSpaceExA,      // kernel32: absent on the first 95 release (older query instead)
  GradientFill,             // msimg32: absent before 98/2000 (flat bands instead)
  OpenProcessToken,         // advapi32: token functions are stubs or absent on 9x,
  LookupPrivilegeValueA,    //   where a restart needs no shutdown privilege
  AdjustTokenPrivileges,
  LoadTypeLibEx,            // oleaut32: may be missing on a bare system (type
  RegisterTypeLib,          //   libraries are then not registered)
  UnRegisterTypeLib,
  SHGetSpecialFolderPathA,  // shell32: needs the 4.71 shell (folder then empty)
  SHChangeNotify,           // shell32: notification skipped without it
  Count
};

// The address of an optional function, or null when its library or the export is
// missing, or when a test forced it absent.
AnyFunction optional_address(Optional which);

// The exported name and the library of a table row ("MoveFileExA", "kernel32.dll").
const char* optional_name(Optional which);
const char* optional_library(Optional which);

// Test switch: while set, optional_address(which) answers null, so the fallback runs.
void force_absent(Optional which, bool absent = true);

// The type of each optional function.
template <Optional Which>
struct OptionalType;
template <>
struct OptionalType<Optional::MoveFileExA> {
  using Type = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
};
template <>
struct OptionalType<Optional::GetDiskFreeSpaceExA> {
  using Type = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
};
template <>
struct OptionalType<Optional::GradientFill> {
  using Type = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
};
template <>
struct OptionalType<Optional::OpenProcessToken> {
  using Type = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
};
template <>
struct OptionalType<Optional::LookupPrivilegeValueA> {
  using Type = BOOL(WINAPI*)(LPCSTR, LPCSTR, PLUID);
};
template <>
struct OptionalType<Optional::AdjustTokenPrivileges> {
  using Type = BOOL(WINAPI*)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD);
};
template <>
struct OptionalType<Optional::LoadTypeLibEx> {
  // The middle parameter is a REGKIND, kept as int like SYSKIND below.
  using Type = HRESULT(WINAPI*)(const wchar_t*, int, ITypeLib**);
};
template <>
struct OptionalType<Optional::RegisterTypeLib> {
  using Type = HRESULT(WINAPI*)(ITypeLib*, const wchar_t*, const wchar_t*);
};
template <>
struct OptionalType<Optional::UnRegisterTypeLib> {
  // The last parameter is a SYSKIND (an int-sized enum) kept as int so that this header
  // needs no OLE headers.
  using Type = HRESULT(WINAPI*)(const GUID&, WORD, WORD, LCID, int);
};
template <>
struct OptionalType<Optional::SHGetSpecialFolderPathA> {
  using Type = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);
};
template <>
struct OptionalType<Optional::SHChangeNotify> {
  using Type = void(WINAPI*)(LONG, UINT, LPCVOID, LPCVOID);
};

// Typed access: `if (auto move = optional_function<Optional::MoveFileExA>()) move(a, b, 4);`
template <Optional Which>
typename OptionalType<Which>::Type optional_function() {
  return reinterpret_cast<typename OptionalType<Which>::Type>(optional_address(Which));
}

}  // namespace core
