// Between the tool's settings model (std types) and the archive's (the stub's own types).
#pragma once

#include "archive/settings.h"
#include "qvin/project_model.h"

namespace qvin {

// The archive's settings for the tool's; texts and lists copied as they are.
archive::Settings to_archive_settings(const InstallerSettings& settings);
// The tool's settings for the archive's, as stored (no defaults applied).
InstallerSettings from_archive_settings(const archive::Settings& settings);

// Conversions of single values, shared with the file-table code.
core::String to_core(const std::string& bytes);
std::string from_core(const core::String& text);
core::FileTime to_core(const StoredTime& time);
StoredTime from_core(const core::FileTime& time);

}  // namespace qvin
