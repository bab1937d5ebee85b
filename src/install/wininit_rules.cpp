// The "[rename]" section of "wininit.ini", on text alone.
#include "install/wininit_rules.h"

namespace install {

namespace {
constexpr char kRenameSection[] = "[rename]";
constexpr int32_t kRenameSectionLength = sizeof(kRenameSection) - 1;
}  // namespace

void add_rename_entry(core::String& text, const char* target, const char* source) {
  int32_t section = text.find(kRenameSection, 0, core::search::IgnoreCase);
  if (section < 0) {
    if (!text.is_empty() && !core::ascii::is_line_end(text.last_char())) text.append("\r\n");
    text.append_format("%s\r\n%s=%s", kRenameSection, target, source);
    return;
  }
  // Each new entry becomes the section's first line, so the newest comes first.
  text.insert(section + kRenameSectionLength, core::format_string("\r\n%s=%s", target, source).text());
}

}  // namespace install
