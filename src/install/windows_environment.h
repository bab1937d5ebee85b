// The machine as the settings reader sees it, on Windows: the process environment, the
// special folders and the directory variables.
#pragma once

#include "archive/environment.h"
#include "core/win/directory_variables.h"
#include "core/win/environment.h"

namespace install {

// Answers from env and dirs, which the caller owns and keeps alive; dirs may still be
// empty while the settings that define them are being read.
class WindowsEnvironment final : public archive::Environment {
 public:
  WindowsEnvironment(const core::ProcessEnvironment& env, const core::InstallationDirectories& dirs)
      : env_(env), dirs_(dirs) {}

  core::String windows_directory() override;
  core::String program_files_directory() override;
  core::String common_files_directory() override;
  void expand_directory_variables(core::String& text) override;
  void create_directories(const core::String& path) override;

 private:
  const core::ProcessEnvironment& env_;
  const core::InstallationDirectories& dirs_;
};

}  // namespace install
