// Removing what the installation recorded: files, class keys and directories of
// "Uninstall.DAT", the start-menu group, and the installation directory's whole tree. No
// clean-up enters a link or removes a protected folder.
#pragma once

#include "core/array.h"
#include "core/string.h"
#include "install/uninstall_data_codec.h"
#include "uninstall/uninstall_run.h"

namespace uninstall {

// Whether a directory between the installation directory and path (path itself
// included) is a link: deleting through it would reach what the link points to.
bool passes_through_link(const core::String& path, const core::String& install_dir);

// Removes one empty directory unless it is protected; a link is unlinked (never entered)
// when the system can do so. False when it stays.
bool remove_empty_directory(const core::String& directory, const UninstallRun& run);

// The removal list: files deleted (each failure reported and recorded again for the
// rewritten "Uninstall.DAT"), class keys deleted, directories collected for later.
void remove_listed_items(const core::Vector<install::RemovalItem>& items, UninstallRun& run);

// The collected directories, longest first, each with the parents that became empty as
// directory_removal_chain allows.
void remove_recorded_directories(UninstallRun& run);

// The start-menu group and its emptied parents below the programs folder.
void remove_start_menu_group(const core::String& group, UninstallRun& run);

// The installation directory with everything in it, unless it is protected (the Windows
// directory, Program Files, a user's profile, a drive root...). False when refused or
// when something stayed.
bool remove_installation_tree(const UninstallRun& run);

}  // namespace uninstall
