// What the settings' defaults ask of the machine: system directories, directory variables.
#pragma once

#include "core/string.h"

namespace archive {

// The machine as the settings reader sees it. The installer passes one that asks
// Windows; host tools pass a `NeutralEnvironment`, which leaves stored paths as they are.
class Environment {
 public:
  virtual ~Environment() = default;

  // The Windows directory: what "<os>" stands for in paths and localised texts.
  virtual core::String windows_directory() = 0;
  // The program files directory: the base of a relative default installation directory.
  virtual core::String program_files_directory() = 0;
  // The common files directory: the base of a relative shared path.
  virtual core::String common_files_directory() = 0;
  // Replaces the directory variables (%InstallDir%, %WinDir%...) in text, in place.
  virtual void expand_directory_variables(core::String& text) = 0;
  // Creates a directory and its missing parents; failures are not reported.
  virtual void create_directories(const core::String& path) = 0;
};

// For tools that read an installer without installing it: the Windows directory is
// "<os>" (so the placeholder stays as stored), the other directories are empty (so no
// path is resolved against them), nothing is expanded or created.
// Defined here, in the header, so that host programs built with run-time type
// information (which their sanitizers use) get its type information with it.
class NeutralEnvironment final : public Environment {
 public:
  core::String windows_directory() override { return core::String("<os>"); }
  core::String program_files_directory() override { return core::String(); }
  core::String common_files_directory() override { return core::String(); }
  void expand_directory_variables(core::String&) override {}
  void create_directories(const core::String&) override {}
};

}  // namespace archive
