// The process environment collected once at start-up: Windows and temporary directories,
// the installer's own path and its parts, the command interpreter.
#pragma once

#include "core/string.h"

namespace core {

// The values of one run. The driver owns one, fills it with init_environment first thing
// and passes it on; afterwards it is read only.
struct ProcessEnvironment {
  bool initialised = false;
  String windows_directory;
  String installer_path;       // the running program's file
  String installer_name;       // its file-name part
  String installer_directory;  // its directory part
  char installer_drive = 0;    // upper-case drive letter, or 0 (a network path)
  String command_interpreter;  // %comspec%, quoted when it holds white space
  String temp_directory;       // without a trailing '\'
};

// Fills env from the machine; does nothing when env is already initialised.
void init_environment(ProcessEnvironment& env);

// The installer's path, name, directory and drive letter from the text of its path.
void describe_installer(ProcessEnvironment& env, const char* installer_path);

// The command interpreter from the expanded "%comspec%": `fallback` when the expansion
// failed, is blank, or left the variable unexpanded (no such variable); enclosed in double
// quotes when it holds white space.
String choose_command_interpreter(const char* expanded, bool expanded_ok, const char* fallback);

// The interpreter when "%comspec%" names none: "cmd.exe" in the system directory on the NT
// family (which has no "command.com" to speak of), "command.com" in the Windows directory
// on the 9x family.
String fallback_command_interpreter(const ProcessEnvironment& env);

// The system directory, asked afresh: GetSystemDirectoryA, else the Windows directory
// joined with "System32" (NT family) or "System".
String system_directory(const ProcessEnvironment& env);

// The installer directory joined with name (name empty: the directory itself).
String in_installer_directory(const ProcessEnvironment& env, const char* name);

}  // namespace core
