// The text of "QVINBAT.BAT" and the command line that runs it.
#include "install/batch_rules.h"

namespace install {

core::String batch_set_line(const char* name, const core::String& value) {
  core::String line = core::format_string("SET \"%s=", name);
  for (int32_t i = 0; i < value.length(); ++i) {
    char c = value[i];
    if (core::ascii::is_line_end(c)) continue;
    if (c == '%') line.append('%');
    line.append(c);
  }
  line.append("\"\r\n");
  return line;
}

core::String batch_file_text(const core::Vector<BatchVariable>& variables, const core::String& commands,
                             bool drop_pause) {
  core::String text("@echo off\r\n");
  for (const BatchVariable& variable : variables) text.append(batch_set_line(variable.name, variable.value));
  core::String body = commands;
  if (drop_pause) body.remove_pause_lines();
  body.normalise_line_ends();
  text.append(body);
  return text;
}

core::String interpreter_program(const core::String& interpreter) {
  core::String program = interpreter;
  program.trim();
  program.unquote('"');
  return program;
}

core::String batch_command_line(const core::String& interpreter, const core::String& batch_path) {
  core::String program = interpreter_program(interpreter);
  if (program.find_any_of(core::kWhiteSpace) >= 0) program.quote();
  return core::format_string("%s /e:%d /c \"\"%s\"\"", program.text(), kBatchEnvironmentSize, batch_path.text());
}

}  // namespace install
