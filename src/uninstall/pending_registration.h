// Undoing registrations of the installation (fonts, COM servers, type libraries) until the
// engine's own functions for them are merged; same names and contracts as those.
#pragma once

#include "core/string.h"
#include "core/win/environment.h"
#include "install/run_records.h"

namespace install {

// The key below HKEY_LOCAL_MACHINE, "Software\Microsoft\Windows\CurrentVersion\SharedDLLs".
extern const char kSharedDllsKey[];

// Deletes the face's value from the font key: true when it was deleted or was not there.
bool unregister_font(const core::String& face);

// The full path of a font file named in "ProductFonts": as it is when it is a full path,
// else in the fonts folder.
core::String font_file_path(const core::String& file, const core::ProcessEnvironment& env);

// Tells every top-level window that the set of fonts changed (WM_FONTCHANGE).
void broadcast_font_change();

// The unregistration that a shared file's marker asks for before the file goes: a COM
// server's DllUnregisterServer or a type library's; true at once for the other markers.
bool unregister_shared_file(const SharedFile& file);

}  // namespace install
