// Run-time binding: the library object and the table of optional functions with its
// test switch.
#include "core/win/optional_functions.h"

#include <gtest/gtest.h>

#include <string>

namespace core {
namespace {

TEST(OptionalFunctions, EveryRowResolvesAndCanBeForcedAbsent) {
  struct Case {
    Optional which;
    const char* name;
    const char* library;
  };
  const Case cases[] = {
      {Optional::MoveFileExA, "MoveFileExA", "kernel32.dll"},
      {Optional::GetDiskFreeSpaceExA, "GetDiskFreeSpaceExA", "kernel32.dll"},
      {Optional::GradientFill, "GradientFill", "msimg32.dll"},
      {Optional::OpenProcessToken, "OpenProcessToken", "advapi32.dll"},
      {Optional::LookupPrivilegeValueA, "LookupPrivilegeValueA", "advapi32.dll"},
      {Optional::AdjustTokenPrivileges, "AdjustTokenPrivileges", "advapi32.dll"},
      {Optional::LoadTypeLibEx, "LoadTypeLibEx", "oleaut32.dll"},
      {Optional::RegisterTypeLib, "RegisterTypeLib", "oleaut32.dll"},
      {Optional::UnRegisterTypeLib, "UnRegisterTypeLib", "oleaut32.dll"},
      {Optional::SHGetSpecialFolderPathA, "SHGetSpecialFolderPathA", "shell32.dll"},
      {Optional::SHChangeNotify, "SHChangeNotify", "shell32.dll"},
  };
  static_assert(sizeof(cases) / sizeof(cases[0]) == static_cast<size_t>(Optional::Count), "every row");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_STREQ(optional_name(c.which), c.name);
    EXPECT_STREQ(optional_library(c.which), c.library);
    AnyFunction address = optional_address(c.which);
    EXPECT_NE(address, nullptr);
    EXPECT_EQ(reinterpret_cast<AnyFunction>(GetProcAddress(GetModuleHandleA(c.library), c.name)), address);
    force_absent(c.which);
    EXPECT_EQ(optional_address(c.which), nullptr);
    force_absent(c.which, false);
    EXPECT_EQ(optional_address(c.which), address);
  }
  EXPECT_EQ(optional_address(Optional::Count), nullptr);
  EXPECT_STREQ(optional_name(Optional::Count), "");
}

TEST(OptionalFunctions, TypedAccessCallsTheFunction) {
  auto get_space = optional_function<Optional::GetDiskFreeSpaceExA>();
  ASSERT_NE(get_space, nullptr);
  ULARGE_INTEGER available, total, free;
  EXPECT_TRUE(get_space("C:\\", &available, &total, &free));
  EXPECT_GT(total.QuadPart, 0u);
}

// A library beside the program must never stand in for the system's: every optional
// function lives in a module of the system directory.
TEST(OptionalFunctions, LibrariesComeFromTheSystemDirectory) {
  char system[MAX_PATH] = {};
  ASSERT_GT(GetSystemDirectoryA(system, sizeof(system)), 0u);
  char wow64[MAX_PATH] = {};
  GetSystemWow64DirectoryA(wow64, sizeof(wow64));  // the 32-bit view, where there is one
  for (Optional which : {Optional::GradientFill, Optional::LoadTypeLibEx, Optional::SHChangeNotify}) {
    SCOPED_TRACE(optional_name(which));
    HMODULE module = nullptr;
    const DWORD by_address = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    ASSERT_TRUE(GetModuleHandleExA(by_address, reinterpret_cast<LPCSTR>(optional_address(which)), &module));
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(module, path, sizeof(path)), 0u);
    std::string directory(path, std::string(path).rfind('\\'));
    EXPECT_TRUE(lstrcmpiA(directory.c_str(), system) == 0 || (*wow64 != 0 && lstrcmpiA(directory.c_str(), wow64) == 0))
        << path;
  }
}

using TickCount = DWORD(WINAPI*)();

TEST(RuntimeLibrary, BindsFromTheLoadedModule) {
  RuntimeLibrary library;
  TickCount tick = reinterpret_cast<TickCount>(1);
  EXPECT_FALSE(library.bind("GetTickCount", tick));  // nothing loaded: the slot is cleared
  EXPECT_EQ(tick, nullptr);
  EXPECT_FALSE(library.load_library("qvin-no-such-library.dll"));
  ASSERT_TRUE(library.load_library("kernel32.dll"));
  EXPECT_TRUE(library.bind("GetTickCount", tick));
  ASSERT_NE(tick, nullptr);
  EXPECT_GT(tick(), 0u);
  EXPECT_FALSE(library.bind("QvinNoSuchFunction", tick));
  EXPECT_EQ(tick, nullptr);
}

TEST(RuntimeLibrary, BindsLazilyFromItsOwnName) {
  RuntimeLibrary library("kernel32.dll");
  EXPECT_FALSE(library.is_loaded());
  TickCount tick = nullptr;
  EXPECT_TRUE(library.bind_lazily("GetTickCount", tick));
  EXPECT_TRUE(library.is_loaded());
  ASSERT_NE(tick, nullptr);
  // Already bound: the slot is kept as it is, whatever the name.
  EXPECT_TRUE(library.bind_lazily("QvinNoSuchFunction", tick));
  EXPECT_NE(tick, nullptr);

  RuntimeLibrary missing("qvin-no-such-library.dll");
  TickCount none = nullptr;
  EXPECT_FALSE(missing.bind_lazily("GetTickCount", none));
}

TEST(RuntimeLibrary, TablesFailOnlyForRequiredRows) {
  struct Case {
    const char* label;
    bool missing_is_optional;
    bool bound;
  };
  const Case cases[] = {{"missing row optional", true, true}, {"missing row required", false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    RuntimeLibrary library;
    ASSERT_TRUE(library.load_library("advapi32.dll"));
    AnyFunction open_token = nullptr, missing = nullptr, adjust = nullptr;
    const BindEntry table[] = {
        {"OpenProcessToken", &open_token, false},
        {"QvinNoSuchFunction", &missing, c.missing_is_optional},
        {"AdjustTokenPrivileges", &adjust, false},
    };
    EXPECT_EQ(library.bind_table(table, 3), c.bound);
    // Every other row is bound either way.
    EXPECT_NE(open_token, nullptr);
    EXPECT_EQ(missing, nullptr);
    EXPECT_NE(adjust, nullptr);
  }
}

}  // namespace
}  // namespace core
