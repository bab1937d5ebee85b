// The process environment collected once at start-up.
#include "core/win/environment.h"

#include "core/paths.h"
#include "core/win/directories.h"
#include "core/win/windows.h"

namespace core {

namespace {

String windows_directory_from_system() {
  char buffer[MAX_PATH] = {};
  UINT length = GetWindowsDirectoryA(buffer, sizeof(buffer));
  if (length == 0 || length >= sizeof(buffer)) return String();
  return String(buffer);
}

String module_path() {
  char buffer[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return String();
  return String(buffer);
}

// GetTempPathA, asked for the size first and then filled; one trailing '\' removed.
String temp_path() {
  DWORD needed = GetTempPathA(0, nullptr);
  if (needed == 0) return String();
  String path;
  path.set_length(static_cast<int32_t>(needed));
  DWORD length = GetTempPathA(needed, path.data());
  if (length == 0 || length >= needed) return String();
  path.set_length(static_cast<int32_t>(length));
  if (path.length() > 0 && path.text()[path.length() - 1] == '\\') path.set_length(path.length() - 1);
  return path;
}

// The high bit of the version word is set on the 9x family.
bool is_nt_family() { return (GetVersion() & 0x80000000u) == 0; }

}  // namespace

void describe_installer(ProcessEnvironment& env, const char* installer_path) {
  env.installer_path = installer_path != nullptr ? installer_path : "";
  env.installer_name = file_name_part(env.installer_path.text());
  env.installer_directory = directory_part(env.installer_path.text());
  env.installer_drive = drive_letter(env.installer_path.text());
}

String choose_command_interpreter(const char* expanded, bool expanded_ok, const char* fallback) {
  String result(expanded != nullptr ? expanded : "");
  result.trim();
  // The system leaves a reference to a variable that does not exist as it was written.
  bool unexpanded = result.equals("%comspec%", false) == 0;
  if (!expanded_ok || result.is_empty() || unexpanded) result = fallback;
  bool quoted = result.length() >= 2 && result.first_char() == '"' && result.last_char() == '"';
  if (result.find_any_of(kWhiteSpace) >= 0 && !quoted) result.quote();
  return result;
}

void init_environment(ProcessEnvironment& env) {
  if (env.initialised) return;
  env.windows_directory = windows_directory_from_system();
  String path = module_path();
  describe_installer(env, path.text());

  String comspec("%comspec%");
  bool expanded = expand_environment(comspec);
  env.command_interpreter =
      choose_command_interpreter(comspec.text(), expanded, fallback_command_interpreter(env).text());

  env.temp_directory = temp_path();
  if (env.temp_directory.is_empty()) {
    env.temp_directory = "c:\\temp";
    create_directory(env.temp_directory.text());
  }
  env.initialised = true;
}

String system_directory(const ProcessEnvironment& env) {
  char buffer[MAX_PATH] = {};
  UINT length = GetSystemDirectoryA(buffer, sizeof(buffer));
  if (length > 0 && length < sizeof(buffer)) return String(buffer);
  return join_path(env.windows_directory.text(), is_nt_family() ? "System32" : "System");
}

String fallback_command_interpreter(const ProcessEnvironment& env) {
  if (is_nt_family()) return join_path(system_directory(env).text(), "cmd.exe");
  return join_path(env.windows_directory.text(), "command.com");
}

String in_installer_directory(const ProcessEnvironment& env, const char* name) {
  if (name == nullptr || *name == 0) return env.installer_directory;
  return join_path(env.installer_directory.text(), name);
}

}  // namespace core
