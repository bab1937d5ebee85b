// Writing one installed file (plain form: one attempt, then the time is left as written).
#include "install/installed_file.h"

#include "archive/language_tables.h"
#include "core/win/system_error.h"
#include "core/win/whole_file.h"
#include "core/win/windows.h"
#include "ui/run_state.h"

namespace install {

bool write_installed_file(const core::String& path, const uint8_t* data, int32_t size, const core::FileTime&,
                          int32_t attributes, bool, const InstallContext& context) {
  if (!core::write_file(path.text(), data, size)) {
    context.records.report_failure(ui::localised(archive::text_id::FileNotWritten), path, core::last_error_text());
    return false;
  }
  if (attributes != -1) SetFileAttributesA(path.text(), attributes == 0 ? FILE_ATTRIBUTE_NORMAL : static_cast<DWORD>(attributes));
  return true;
}

}  // namespace install
