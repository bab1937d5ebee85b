// Shortcut file names.
#include "install/shortcut_rules.h"

namespace install {

core::String shortcut_file_path(const core::String& link_path) {
  constexpr const char* kExtension = ".LNK";
  constexpr int32_t kExtensionLength = 4;
  core::String path = link_path;
  bool has_extension = path.length() >= kExtensionLength &&
                       core::compare_no_case(path.text() + path.length() - kExtensionLength, kExtension) == 0;
  if (!has_extension) path.append(kExtension);
  return path;
}

}  // namespace install
