// Writing and reading "Uninstall.DAT".
#include "install/uninstall_data_codec.h"

namespace install {

namespace {

constexpr const char* kStringsMarker = "[Strings]";
constexpr const char* kAssociationsMarker = "[Associations]";

// A line of a text: [start, end) without its line end; next is where the following line
// starts. CR LF, LF and CR each end a line.
struct Line {
  int32_t start = 0;
  int32_t end = 0;
  int32_t next = 0;
};

bool next_line(const core::String& text, int32_t position, Line& line) {
  if (position >= text.length()) return false;
  line.start = position;
  int32_t end = position;
  while (end < text.length() && !core::ascii::is_line_end(text[end])) ++end;
  line.end = end;
  if (end < text.length() && text[end] == '\r') ++end;
  if (end < text.length() && text[end] == '\n') ++end;
  line.next = end;
  return true;
}

bool line_is(const core::String& line, const char* marker) {
  core::String trimmed = line;
  trimmed.trim_right();
  return trimmed == marker;
}

// "X:\..." or "\\...", longer than a drive root: the only paths the installer records.
bool is_full_path(const core::String& path) {
  if (path.length() <= 3) return false;
  if (path.starts_with("\\\\")) return true;
  return core::ascii::is_letter(path[0]) && path[1] == ':' && path[2] == '\\';
}

void read_removal_line(const core::String& line, core::Vector<RemovalItem>& items) {
  RemovalItem item;
  if (line.starts_with_char('~')) {
    item.kind = RemovalItem::Kind::Directory;
    item.path = line.substring(1);
    if (!is_full_path(item.path)) return;
  } else if (line.starts_with_char('!')) {
    item.kind = RemovalItem::Kind::ClassKey;
    item.path = line.substring(1);
    if (item.path.is_blank() || item.path.starts_with_char('\\')) return;
  } else {
    item.path = line;
    if (!is_full_path(item.path)) return;
  }
  items.append(item);
}

// A string's text with a blank before every line that starts with '~' or '['.
core::String guarded_string_text(const core::String& text) {
  core::String guarded;
  bool line_start = true;
  for (int32_t i = 0; i < text.length(); ++i) {
    char c = text[i];
    if (line_start && (c == '~' || c == '[')) guarded.append(' ');
    guarded.append(c);
    line_start = core::ascii::is_line_end(c);
  }
  return guarded;
}

// Ends the string entry that is open (if any) with its text [text_start, text_end).
void close_string(const core::String& text, int32_t id, int32_t text_start, int32_t text_end,
                  core::Vector<UninstallString>& strings) {
  if (id < kMinUninstallStringId || id > kMaxUninstallStringId) return;
  UninstallString entry;
  entry.id = id;
  entry.text = text.substring(text_start, text_end - text_start);
  entry.text.trim_right();
  strings.append(entry);
}

}  // namespace

core::String write_uninstall_data(const core::String& removal_list, const core::Vector<UninstallString>& strings,
                                  const core::String& association_records) {
  core::String text = removal_list;
  text.append("\r\n\r\n");
  text.append(kStringsMarker);
  text.append("\r\n");
  for (const UninstallString& entry : strings) {
    text.append('~');
    text.append(core::from_int(entry.id));
    text.append("\r\n");
    text.append(guarded_string_text(entry.text));
    text.append("\r\n");
  }
  if (!association_records.is_empty()) {
    text.append("\r\n\r\n");
    text.append(kAssociationsMarker);
    text.append("\r\n");
    text.append(association_records);
  }
  return text;
}

UninstallDataContents read_uninstall_data(const core::String& text) {
  enum class Section { Removal, Strings, Associations };
  UninstallDataContents contents;
  Section section = Section::Removal;
  bool entry_open = false;
  int32_t entry_id = 0;
  int32_t entry_start = 0;
  int32_t associations_start = text.length();
  Line line;
  for (int32_t position = 0; section != Section::Associations && next_line(text, position, line);
       position = line.next) {
    core::String content = text.substring(line.start, line.end - line.start);
    if (section == Section::Removal) {
      if (line_is(content, kStringsMarker)) {
        section = Section::Strings;
      } else {
        read_removal_line(content, contents.removal_items);
      }
      continue;
    }
    bool associations = line_is(content, kAssociationsMarker);
    if (!associations && !content.starts_with_char('~')) continue;  // a line of the open entry's text
    if (entry_open) close_string(text, entry_id, entry_start, line.start, contents.strings);
    entry_open = !associations;
    if (associations) {
      section = Section::Associations;
      associations_start = line.next;
    } else {
      entry_id = core::to_int(content.text() + 1);
      entry_start = line.next;
    }
  }
  if (entry_open) close_string(text, entry_id, entry_start, text.length(), contents.strings);
  contents.associations = read_association_records(text.substring(associations_start));
  return contents;
}

}  // namespace install
