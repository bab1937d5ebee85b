// Self-registration of COM servers (their DllRegisterServer and DllUnregisterServer) and
// registration of type libraries through the automation library.
#pragma once

#include "core/string.h"
#include "install/install_context.h"
#include "install/run_records.h"

namespace install {

// Registers every COM server and then every type library of the run's lists, each with a
// line in the installation log (failures included: they never stop the installation),
// then reports 90 %. Does nothing when both lists are empty.
void register_components(const InstallContext& context);

// Loads the type library at the full path and registers it; false when oleaut32 lacks the
// functions, the path does not convert, the library does not load or the registration
// fails (the thread's last error is then the failing HRESULT).
bool register_type_library(const core::String& path);

// Loads the type library at the full path and removes its registration; false as above.
bool unregister_type_library(const core::String& path);

// Calls DllUnregisterServer of the COM server at the full path; false when the module does
// not load, lacks the entry point, or the call returns a failure.
bool unregister_component(const core::String& path);

// The unregistration that a shared file's marker asks for before the file goes: a COM
// server's or a type library's; true at once for the other markers.
bool unregister_shared_file(const SharedFile& file);

}  // namespace install
