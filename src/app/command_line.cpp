// The installer's command-line grammar.
#include "app/command_line.h"

namespace app {
namespace {

bool is_blank_char(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether atom begins with prefix, ignoring the case of ASCII letters.
bool begins(const core::String& atom, const char* prefix) {
  int32_t i = 0;
  for (; prefix[i] != 0; ++i) {
    if (i >= atom.length() || upper(atom.text()[i]) != prefix[i]) return false;
  }
  return true;
}

// The next token at `cursor`: blanks skipped, then characters up to the next blank; a
// double quote opens a stretch copied whole, quotes included, so blanks inside it stay.
core::String next_token(const char*& cursor) {
  while (*cursor != 0 && is_blank_char(*cursor)) ++cursor;
  const char* start = cursor;
  while (*cursor != 0 && !is_blank_char(*cursor)) {
    if (*cursor++ == '"') {
      while (*cursor != 0 && *cursor != '"') ++cursor;
      if (*cursor == '"') ++cursor;
    }
  }
  return core::String(start, static_cast<int32_t>(cursor - start));
}

// The value after `prefix_length` characters with one pair of enclosing quotes removed.
core::String quoted_value(const core::String& atom, int32_t prefix_length) {
  core::String value = atom.substring(prefix_length);
  value.unquote('"');
  return value;
}

// The value of /r:" and /bN:": the opening quote is part of the prefix, a closing one is
// dropped, and a backquote stands for a double quote.
core::String program_value(const core::String& atom, int32_t prefix_length) {
  core::String value = atom.substring(prefix_length);
  value.remove_suffix('"');
  value.replace("`", "\"");
  return value;
}

}  // namespace

const char* arguments_after_program_name(const char* command_line) {
  if (command_line == nullptr) return "";
  // Bytes compare unsigned: a name's characters beyond ASCII are part of it, not blanks.
  const unsigned char* cursor = reinterpret_cast<const unsigned char*>(command_line);
  bool quoted = false;
  while (*cursor > ' ' || (*cursor != 0 && quoted)) {
    if (*cursor == '"') quoted = !quoted;
    ++cursor;
  }
  while (*cursor != 0 && *cursor <= ' ') ++cursor;
  return reinterpret_cast<const char*>(cursor);
}

bool parse_command_line(const char* arguments, CommandLine& line, core::String& message) {
  const char* cursor = arguments != nullptr ? arguments : "";
  for (int atoms = 0; atoms < kMaxAtoms; ++atoms) {
    core::String token = next_token(cursor);
    if (token.is_empty()) break;
    const char lead = token.first_char();
    if (lead != '/' && lead != '-') {
      message.format("Unexpected command line parameter:\n%s", token.text());
      return false;
    }
    core::String atom = token.substring(1);
    if (atom.equals("A", false) == 0) {
      line.automatic = true;
    } else if (begins(atom, "D:")) {
      line.install_directory = quoted_value(atom, 2);
    } else if (begins(atom, "N:")) {
      line.product_name = quoted_value(atom, 2);
    } else if (begins(atom, "U")) {
      line.uninstall = true;
      line.uninstall_name = quoted_value(atom, atom.length() > 1 && atom.text()[1] == ':' ? 2 : 1);
    } else if (begins(atom, "R:\"")) {
      line.run_after = program_value(atom, 3);
    } else if (begins(atom, "B1:\"") || begins(atom, "B2:\"") || begins(atom, "B3:\"")) {
      core::String& batch = line.batch_additions[atom.text()[1] - '1'];
      batch = program_value(atom, 4);
      batch.replace("~~", "\r\n");
    } else if (!atom.is_empty()) {
      message.format("Illegal command line atom:\n%s", atom.text());
      return false;
    }
  }
  if (line.uninstall && line.uninstall_name.is_empty()) {
    message = "Product name required";
    return false;
  }
  return true;
}

core::String usage_text(const char* message, const char* program_name) {
  core::String text;
  text.format(
      "%s\r\n\r\nUsage:\r\n%s [/a] [/b1:\"commands\"] [/b2:\"commands\"] [/b3:\"commands\"] [/d:\"dir\"] "
      "[/n:\"name\"] [/u:\"name\"] [/r:\"program\"]\r\n\r\n"
      "/a                  \tAutomatic mode.\r\n"
      "/d:\"dir\"        \tOverride installation directory.\r\n"
      "/b1:\"commands\"\tAdd commands to the end of the Pre-Installation Batch.\r\n"
      "/b2:\"commands\"\tAdd commands to the end of the Post-Installation Batch.\r\n"
      "/b3:\"commands\"\tAdd commands to the end of the Installation-Exit Batch.\r\n"
      "/n:\"name\"\tOverride product name.\r\n"
      "/u:\"name\"\tUninstall product by name.\r\n"
      "/r:\"program\"\tRun the specified program after a successful installation.",
      message != nullptr ? message : "", program_name != nullptr ? program_name : "");
  return text;
}

}  // namespace app
