// The PATH line of "autoexec.bat" on text alone.
#include "install/autoexec_rules.h"

namespace install {

namespace {

// The start of the first line equal to entry and the length to remove with its line end;
// -1 when there is none.
int32_t find_line(const core::String& text, const core::String& entry, int32_t& length) {
  int32_t start = 0;
  while (start < text.length()) {
    int32_t end = start;
    while (end < text.length() && !core::ascii::is_line_end(text[end])) ++end;
    core::String line = text.substring(start, end - start);
    line.trim();
    int32_t next = end;
    if (next < text.length() && text[next] == '\r') ++next;
    if (next < text.length() && text[next] == '\n') ++next;
    if (line.equals(entry.text(), false) == 0) {
      length = next - start;
      return start;
    }
    start = next;
  }
  return -1;
}

}  // namespace

core::String autoexec_path_entry(const char* directory) { return core::format_string("PATH=%%PATH%%;%s", directory); }

bool has_autoexec_line(const core::String& text, const core::String& entry) {
  int32_t length = 0;
  return find_line(text, entry, length) >= 0;
}

bool add_autoexec_line(core::String& text, const core::String& entry) {
  if (has_autoexec_line(text, entry)) return false;
  if (!text.is_empty() && text.last_char() != '\n') text.append("\r\n");
  text.append(entry);
  text.append("\r\n");
  return true;
}

bool remove_autoexec_line(core::String& text, const core::String& entry) {
  int32_t length = 0;
  int32_t start = find_line(text, entry, length);
  if (start < 0) return false;
  text.erase(start, length);
  return true;
}

}  // namespace install
