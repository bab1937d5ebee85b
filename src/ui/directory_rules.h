// Checks of the installation directory and the wizard's other choices that need no
// machine: path form, network paths, drive letters, the space a set of files takes on a
// drive, the existing-installation text and the language name to preselect.
#pragma once

#include <stdint.h>

#include "core/string.h"

namespace ui {

// A full path the installer accepts: after one pair of enclosing double quotes is set
// aside, a ':' in second place follows a letter and no other character is one of
// / " < > | * ? : ; and, after leading white space, the path starts with "\\" or has
// ":\" as its second and third characters.
bool is_full_install_path(const char* directory);

// The path starts with two backslashes (a network path).
bool is_network_path(const char* directory);

// The first character in upper case when the second is ':', else 0.
char install_drive_letter(const char* directory);

// Too short for a product's own directory: 3 characters or fewer ("C:\").
bool is_drive_root_length(const char* directory);

// The same directory: compared without one trailing '\' on either side, ignoring case.
bool same_directory(const char* a, const char* b);

// Bytes the files take on a drive: each size rounded up to whole clusters (a cluster
// size below 2 leaves the sizes as they are), summed in 64 bits. Negative sizes count 0.
int64_t space_needed(const int32_t* sizes, int32_t count, int64_t cluster_size);

// Whether the disk-space warning is due: the need reaches the free space. An unknown
// free space (negative) never warns.
bool space_warning_due(int64_t needed, int64_t free_bytes);

// The text id of the existing-installation question: 3 without version comparison or
// when either version is blank, else 4 (same version), 5 (installed older) or 6
// (installed newer). Letters in the versions compare without regard to case.
int32_t existing_installation_text_id(bool compare, const core::String& installed_version,
                                      const core::String& product_version);

// The part of the system's language name that list entries are matched against: the
// text before the first '(' and then before the first white space ("English (United
// States)" gives "English").
core::String language_name_prefix(const char* system_language);

}  // namespace ui
