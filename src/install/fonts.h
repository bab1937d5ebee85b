// Installed fonts: their values in the system's font list, the font resources of the
// session, the run's font list for the uninstaller, and the broadcast that tells running
// programs that the fonts changed.
#pragma once

#include "core/string.h"
#include "core/win/environment.h"
#include "install/install_context.h"

namespace install {

// The key below HKEY_LOCAL_MACHINE in which the system lists its fonts (one value per face
// name, the font file as data): below "Windows NT" on the NT family, "Windows" otherwise.
const char* font_key_path();

// Writes the value face = font_path (REG_SZ) in the font key, creating the key when needed.
// False when the key does not open, the write fails, or face is blank (the key's default
// value names no font).
bool write_font_value(const core::String& face, const core::String& font_path);

// Everything an installed font needs once the file table has written it: its value in the
// font key and its font resource, both by font_path, the full path of the installed file
// (a bare name would be looked up in the current directory); unless permanent, its entry
// in the run's font list; and the run's fonts_changed switch. Returns whether the value
// was written; a failure is not reported (the file is installed all the same).
bool register_font(const core::String& face, const core::String& font_path, bool permanent,
                   const InstallContext& context);

// The font phase: register_font for every font the file table installed, in order, then
// the broadcast when the fonts changed.
void register_fonts(const InstallContext& context);

// Deletes the face's value from the font key: true when it was deleted or was not there.
bool unregister_font(const core::String& face);

// The full path of a font file named in "ProductFonts": as it is when it is a full path,
// else in the fonts folder (the form of lists that named the file alone).
core::String font_file_path(const core::String& file, const core::ProcessEnvironment& env);

// Tells every top-level window that the set of fonts changed (WM_FONTCHANGE).
void broadcast_font_change();

}  // namespace install
