// COM self-registration with the test's own servers (one that registers, one that refuses,
// one without the entry point, one that is not there) and type libraries made at test time.
#include "install/component_registration.h"

#include <gtest/gtest.h>

#include "core/win/windows.h"

#include <oleauto.h>

#include <string>

#include "install/shared_files_codec.h"
#include "tests/win/file_test_support.h"
#include "tests/win/phase_context.h"

namespace install {
namespace {

using test_support::registry_value;
using test_support::ScratchDirectory;

constexpr const char* kMarkerKey = "Software\\qvin-test-com-server";
constexpr GUID kLibraryGuid = {0x5a0c1e3b, 0x7d2f, 0x4c8a, {0x9b, 0x61, 0x3e, 0x4f, 0x5a, 0x6b, 0x7c, 0x8d}};
constexpr const char* kLibraryKey = "TypeLib\\{5A0C1E3B-7D2F-4C8A-9B61-3E4F5A6B7C8D}";

// The fixtures lie next to the test program.
std::string fixture(const char* name) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path = self;
  return path.substr(0, path.rfind('\\') + 1) + name;
}

// An empty type library, version 1.2, written with the automation library's own writer.
bool make_type_library(const std::string& path) {
  std::wstring wide(path.begin(), path.end());
#ifdef _WIN64
  const SYSKIND kind = SYS_WIN64;
#else
  const SYSKIND kind = SYS_WIN32;
#endif
  ICreateTypeLib2* creator = nullptr;
  if (FAILED(CreateTypeLib2(kind, wide.c_str(), &creator))) return false;
  creator->SetGuid(kLibraryGuid);
  creator->SetName(const_cast<LPOLESTR>(L"QvinTestLibrary"));
  creator->SetVersion(1, 2);
  creator->SetLcid(LOCALE_NEUTRAL);
  HRESULT hr = creator->SaveAllChanges();
  creator->Release();
  return SUCCEEDED(hr);
}

bool class_key_exists(const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

class ComponentRegistrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteKeyA(HKEY_CURRENT_USER, kMarkerKey);
    for (const char* name : {"com_server.dll", "com_server_refusing.dll", "com_server_with_helper.dll"}) {
      ASSERT_TRUE(CopyFileA(fixture(name).c_str(), (scratch / name).c_str(), FALSE)) << name;
    }
    ASSERT_TRUE(CopyFileA(fixture("com-helper\\com_helper.dll").c_str(), (scratch / "com_helper.dll").c_str(), FALSE));
  }
  void TearDown() override {
    RegDeleteKeyA(HKEY_CURRENT_USER, kMarkerKey);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kLibraryKey);
  }
  ScratchDirectory scratch;
};

TEST_F(ComponentRegistrationTest, RegistersTheListsAndLogsEachOutcome) {
  const std::string with_helper = scratch / "com_server_with_helper.dll";
  const std::string server = scratch / "com_server.dll";
  const std::string refusing = scratch / "com_server_refusing.dll";
  const std::string no_entry = fixture("version_comma.dll");
  const std::string missing = scratch / "missing.dll";
  const std::string library = scratch / "types.tlb";
  const std::string missing_library = scratch / "missing.tlb";
  ASSERT_TRUE(make_type_library(library));
  // The helper beside the server is not found when only the usual places are searched.
  HMODULE plain = LoadLibraryA(with_helper.c_str());
  EXPECT_EQ(plain, nullptr);
  if (plain != nullptr) FreeLibrary(plain);

  test_support::PhaseContext phase;
  for (const std::string& path : {with_helper, server, refusing, no_entry, missing}) {
    phase.records.com_targets.append(path.c_str());
  }
  for (const std::string& path : {library, missing_library}) phase.records.type_libraries.append(path.c_str());
  register_components(phase.context);

  const std::string expected = "Registering COM File \"" + with_helper + "\"...OK\r\n"
                               "Registering COM File \"" + server + "\"...OK\r\n"
                               "Registering COM File \"" + refusing + "\"...DllRegisterServer() Failed (0x80040201)\r\n"
                               "Registering COM File \"" + no_entry + "\"...GetProcAddress() Failed\r\n"
                               "Registering COM File \"" + missing + "\"...LoadLibrary() Failed\r\n"
                               "Registering Type Library \"" + library + "\"...OK\r\n"
                               "Registering Type Library \"" + missing_library + "\"...FAILED\r\n";
  std::string log = phase.records.install_log.text();
  EXPECT_EQ(log.substr(0, expected.size()), expected);
  EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
  EXPECT_TRUE(phase.records.error_report.is_empty());

  // The server ran from the path it was given.
  EXPECT_EQ(registry_value(HKEY_CURRENT_USER, kMarkerKey, "Server"), server);
  EXPECT_TRUE(class_key_exists((std::string(kLibraryKey) + "\\1.2").c_str()));

  // What the uninstaller calls: each undoes its registration once.
  SharedFile com_server{server.c_str(), shared_marker::ComServer, false};
  SharedFile type_library{library.c_str(), shared_marker::TypeLibrary, false};
  EXPECT_FALSE(unregister_component("com_server.dll"));  // one lies beside the program: never searched for
  EXPECT_EQ(registry_value(HKEY_CURRENT_USER, kMarkerKey, "Server"), server);
  EXPECT_TRUE(unregister_shared_file(com_server));
  EXPECT_EQ(registry_value(HKEY_CURRENT_USER, kMarkerKey, "Server"), "<no key>");
  EXPECT_FALSE(unregister_component(server.c_str()));  // the server says there was nothing
  EXPECT_FALSE(unregister_component(missing.c_str()));
  EXPECT_FALSE(unregister_component(no_entry.c_str()));
  EXPECT_TRUE(unregister_shared_file(type_library));
  EXPECT_FALSE(class_key_exists((std::string(kLibraryKey) + "\\1.2").c_str()));
  EXPECT_FALSE(unregister_type_library(missing_library.c_str()));
  EXPECT_TRUE(unregister_shared_file(SharedFile{missing.c_str(), shared_marker::Permanent, false}));
}

TEST_F(ComponentRegistrationTest, TypeLibraryPathsMustFit) {
  std::string long_path = scratch.path() + "\\" + std::string(300, 'x') + ".tlb";
  EXPECT_FALSE(register_type_library(long_path.c_str()));
  EXPECT_FALSE(register_type_library(""));
  EXPECT_FALSE(unregister_type_library(long_path.c_str()));
}

TEST_F(ComponentRegistrationTest, EmptyListsDoNothing) {
  test_support::PhaseContext phase;
  register_components(phase.context);
  EXPECT_TRUE(phase.records.install_log.is_empty());
}

}  // namespace
}  // namespace install
