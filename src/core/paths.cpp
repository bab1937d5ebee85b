// Path rules on text alone.
#include "core/paths.h"

#include <string.h>

namespace core {

namespace {

bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool is_white(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

const char* skip_white(const char* text) {
  while (is_white(*text)) ++text;
  return text;
}

String text_of(const char* begin, int count) {
  String result;
  result.append(begin, count);
  return result;
}

// The invalid set chosen by the flags of is_valid_path.
const char* invalid_set(uint32_t flags) {
  if (flags & path_check::AllowWildcards) return "/\"<>|:;";
  if (flags & path_check::AllowStar) return "/\"<>|?:;";
  return invalid_path_chars;
}

}  // namespace

bool has_invalid_path_char(const char* text) {
  return text != nullptr && strpbrk(text, invalid_path_chars) != nullptr;
}

bool is_valid_path(const char* path, uint32_t flags) {
  if (path == nullptr) return false;
  const char* begin = path;
  const char* end = path + strlen(path);
  if (flags & path_check::Trim) {
    begin = skip_white(begin);
    while (end > begin && is_white(end[-1])) --end;
  }
  if (end - begin >= 2 && *begin == '"' && end[-1] == '"') {
    ++begin;
    --end;
  }
  // A pair of quotes around nothing is as empty as no text at all.
  if (begin == end) return false;
  if (end - begin >= 2 && begin[1] == ':') {
    if (!is_letter(begin[0])) return false;
  }
  const char* set = invalid_set(flags);
  for (const char* p = begin; p < end; ++p) {
    if (p == begin + 1 && *p == ':') continue;
    if (*p != 0 && strchr(set, *p) != nullptr) return false;
  }
  return true;
}

bool is_absolute_path(const char* path) {
  if (path == nullptr) return false;
  path = skip_white(path);
  if (path[0] == '\\' && path[1] == '\\') return true;
  return path[0] != 0 && path[1] == ':' && path[2] == '\\';
}

String directory_part(const char* path) {
  if (path == nullptr) return String();
  // Only the part before the first ';' outside quotes is a path.
  int limit = 0;
  bool quoted = false;
  for (; path[limit] != 0; ++limit) {
    if (path[limit] == '"') quoted = !quoted;
    if (path[limit] == ';' && !quoted) break;
  }
  int separator = -1;
  for (int i = limit - 1; i >= 0; --i) {
    if (path[i] == '\\') {
      separator = i;
      break;
    }
  }
  if (separator < 0) {
    for (int i = 0; i < limit; ++i) {
      if (path[i] == ':') {
        separator = i;
        break;
      }
    }
  }
  if (separator < 0) return String();
  bool keep = path[separator] == ':' || (separator > 0 && path[separator - 1] == ':');
  return text_of(path, keep ? separator + 1 : separator);
}

String file_name_part(const char* path) {
  if (path == nullptr) return String();
  const char* name = strrchr(path, '\\');
  if (name == nullptr) name = strchr(path, ':');
  return String(name != nullptr ? name + 1 : path);
}

String drive_prefix(const char* path) {
  if (path == nullptr || !is_letter(path[0])) return String();
  char text[3] = {path[0], ':', 0};
  return String(text);
}

char drive_letter(const char* path) {
  if (path == nullptr || !is_letter(path[0]) || path[1] != ':') return 0;
  return path[0] >= 'a' ? static_cast<char>(path[0] - 'a' + 'A') : path[0];
}

String drive_text(char letter) {
  if (!is_letter(letter)) return String();
  char text[3] = {letter, ':', 0};
  return String(text);
}

String join_path(const char* dir, const char* name) {
  if (dir == nullptr) dir = "";
  if (name == nullptr) name = "";
  if (*dir == 0) return String(name);
  if (*name == 0) return String(dir);
  int dir_length = static_cast<int>(strlen(dir));
  char last = dir[dir_length - 1];
  String result;
  if (name[0] == '\\') {
    result.append(dir, last == '\\' ? dir_length - 1 : dir_length);
  } else {
    result.append(dir, dir_length);
    if (last != ':' && last != '\\') result.append("\\", 1);
  }
  result.append(name, static_cast<int>(strlen(name)));
  return result;
}

bool resolve_path(String& path, const char* base) {
  path.trim();
  if (base == nullptr) return false;
  const char* p = path.text();
  if (*p == 0 || !is_absolute_path(base)) return false;
  if (p[0] == '\\' && p[1] == '\\') return false;
  base = skip_white(base);
  String result;
  if (p[0] == '\\') {
    if (!is_letter(base[0]) || base[1] != ':') return false;
    result.append(base, 2);
    result.append(p, path.length());
  } else if (p[0] != 0 && p[1] == ':') {
    if (p[2] == '\\') return false;
    int base_length = static_cast<int>(strlen(base));
    result.append(p, 2);
    result.append(base + 2, base_length - 2);
    if (base[base_length - 1] != '\\') result.append("\\", 1);
    result.append(p + 2, path.length() - 2);
  } else {
    int base_length = static_cast<int>(strlen(base));
    result.append(base, base_length);
    if (base[base_length - 1] != '\\') result.append("\\", 1);
    result.append(p, path.length());
  }
  path = result;
  return true;
}

int64_t round_up(int64_t size, int64_t unit) {
  if (unit < 2) return size;
  int64_t rest = size % unit;
  return rest == 0 ? size : size + (unit - rest);
}

}  // namespace core
