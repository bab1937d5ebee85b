// What an installation phase under test runs with: default settings, the machine's
// environment, installation directories of the test's choosing and fresh run records,
// bound together as the InstallContext the phases take.
#pragma once

#include <string>

#include "archive/settings.h"
#include "core/win/directory_variables.h"
#include "core/win/environment.h"
#include "core/win/windows.h"
#include "install/install_context.h"
#include "install/run_records.h"

namespace test_support {

struct PhaseContext {
  PhaseContext() { core::init_environment(env); }
  PhaseContext(const PhaseContext&) = delete;
  PhaseContext& operator=(const PhaseContext&) = delete;

  archive::Settings settings;
  core::ProcessEnvironment env;
  core::InstallationDirectories dirs;
  install::RunRecords records;
  install::InstallContext context{settings, env, dirs, records};
};

// A registry value read without the code under test: its text (a REG_DWORD in decimal),
// "<no key>" or "<no value>".
inline std::string registry_value(HKEY root, const std::string& key_path, const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, key_path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
  char data[2048] = {};
  DWORD size = sizeof(data) - 1;
  DWORD type = 0;
  LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return "<no value>";
  if (type == REG_DWORD) return std::to_string(*reinterpret_cast<const DWORD*>(data));
  return std::string(data);
}

}  // namespace test_support
