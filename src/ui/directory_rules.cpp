// The wizard's checks on text alone.
#include "ui/directory_rules.h"

#include <string.h>

#include "core/paths.h"

namespace ui {

bool is_full_install_path(const char* directory) {
  return core::is_valid_path(directory, 0) && core::is_absolute_path(directory);
}

bool is_network_path(const char* directory) {
  return directory != nullptr && directory[0] == '\\' && directory[1] == '\\';
}

char install_drive_letter(const char* directory) {
  if (directory == nullptr || directory[0] == 0 || directory[1] != ':') return 0;
  return core::ascii::to_upper(directory[0]);
}

bool is_drive_root_length(const char* directory) { return directory == nullptr || strlen(directory) <= 3; }

bool same_directory(const char* a, const char* b) {
  core::String left(a);
  core::String right(b);
  left.remove_suffix('\\');
  right.remove_suffix('\\');
  return left.length() == right.length() && core::compare_no_case(left.text(), right.text()) == 0;
}

int64_t space_needed(const int32_t* sizes, int32_t count, int64_t cluster_size) {
  int64_t total = 0;
  for (int32_t i = 0; i < count; ++i) {
    if (sizes[i] > 0) total += core::round_up(sizes[i], cluster_size);
  }
  return total;
}

bool space_warning_due(int64_t needed, int64_t free_bytes) { return free_bytes >= 0 && needed >= free_bytes; }

int32_t existing_installation_text_id(bool compare, const core::String& installed_version,
                                      const core::String& product_version) {
  if (!compare || installed_version.is_blank() || product_version.is_blank()) return 3;
  // Trailing letters compare by character code: upper-case both so that 1.2a and 1.2A
  // are the same version and 1.2a is older than 1.2B.
  core::String installed = installed_version;
  core::String product = product_version;
  int32_t order = core::compare_versions(installed.upper_ascii().text(), product.upper_ascii().text());
  if (order == 0) return 4;
  return order < 0 ? 5 : 6;
}

core::String language_name_prefix(const char* system_language) {
  core::String name(system_language);
  int32_t bracket = name.find_char('(');
  if (bracket >= 0) name.truncate(bracket);
  int32_t white = name.find_any_of(core::kWhiteSpace);
  if (white >= 0) name.truncate(white);
  return name;
}

}  // namespace ui
