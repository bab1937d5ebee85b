// The uninstaller's decisions on text alone: which recorded items it may touch, how far
// the clean-up of emptied directories climbs, when a class key may go, and the text of the
// batch that removes the uninstaller once it has ended.
#pragma once

#include <stdint.h>

#include "core/array.h"
#include "core/string.h"
#include "install/protected_folder_rules.h"

namespace uninstall {

// A key below HKEY_CLASSES_ROOT named by a '!' line of "Uninstall.DAT" may be deleted with
// its tree only when it names something of its own: not blank, no empty component (a
// leading, doubled or trailing '\'), and not one of the roots that every product shares
// (CLSID, Interface, TypeLib, AppID, *, Directory, Folder, Drive, MIME), in any case.
bool is_removable_class_key(const core::String& key);

// Whether `path` lies within `folder` (or is it), compared in comparable form.
bool is_within_folder(const core::String& path, const core::String& folder);

// A file line of "Uninstall.DAT" is deleted unless it lies in one of the system's trees
// (the Windows directory and the system directories): the file can be written by users
// who may not write there, so it must not lead the uninstaller into the system. A file
// inside the installation directory is the product's own, wherever that lies.
bool is_removable_file(const core::String& path, const core::String& install_dir,
                       const core::Vector<core::String>& system_trees);

// The directories that the clean-up of one recorded directory tries to remove, deepest
// first; the caller stops at the first that cannot be removed. A directory below the
// installation directory is removed with every parent that became empty, up to but never
// including the installation directory. A directory outside it (the desktop folder, a
// folder below the common files directory) is removed alone: its parents are not the
// product's. The installation directory itself, its ancestors, relative paths and
// directories in a system tree give nothing.
core::Vector<core::String> directory_removal_chain(const core::String& directory, const core::String& install_dir,
                                                   const core::Vector<core::String>& system_trees);

// The start-menu group and its parents up to, never including, the programs folder, at
// most 20 of them, deepest first. Nothing when the group does not lie below the programs
// folder (an empty, absolute or climbing "ProductStartMenu").
core::Vector<core::String> start_menu_removal_chain(const core::String& programs_folder, const core::String& group);

// What a key below HKEY_CLASSES_ROOT holds, as far as the deletion rule needs it.
struct ClassKeyContents {
  int32_t subkeys = 0;
  int32_t other_values = 0;      // values besides the default one
  core::String default_value;
};

// An association's key goes only when the uninstallation left nothing in it but its
// default value: no sub-key and no other value. An extension's key also needs its default
// value to be the product's file type or empty; anything else is the user's.
bool may_delete_class_key(const ClassKeyContents& contents);
bool may_delete_extension_key(const ClassKeyContents& contents, const core::String& file_type);

// The drive root that the second uninstall batch gets as its directory: the drive letter
// and colon, and a backslash when the installation directory has one after the colon;
// empty when the directory does not start with a drive.
core::String installation_drive_root(const core::String& install_dir);

// A path for a batch line: in double quotes, with every '%' doubled so the interpreter
// reads it as a percent sign.
core::String batch_quoted_path(const core::String& path);

// The number of attempts the self-removal batch makes at deleting the uninstaller, one
// second apart, before it gives up.
inline constexpr int32_t kSelfRemovalAttempts = 60;

// The text of the self-removal batch, lines ending in CR LF. With a program path: a loop
// that deletes it, tries again after a pause of about a second while it still exists, and
// gives up after kSelfRemovalAttempts tries (the counter is a growing text, which every
// command interpreter can compare; the pause pings the local machine). Then "rd" of each
// directory (only empty ones go) and the deletion of the batch itself. Without a program
// (the running program is not the installed uninstaller) there is no loop.
core::String self_removal_batch_text(const core::String& program, const core::Vector<core::String>& directories,
                                     const core::String& batch_path);

}  // namespace uninstall
