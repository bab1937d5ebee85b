// Writing and cutting double-quoted runs.
#include "install/quoted_run_codec.h"

namespace install {

void append_quoted_run(core::String& text, const core::String& run) {
  text.append('"');
  int32_t start = 0;
  for (int32_t quote = run.find_char('"'); quote >= 0; quote = run.find_char('"', start)) {
    text.append(run.text() + start, quote + 1 - start);
    text.append('"');
    start = quote + 1;
  }
  text.append(run.text() + start, run.length() - start);
  text.append('"');
}

core::String cut_quoted_run(core::String& text) {
  core::String run;
  if (!text.starts_with_char('"')) return run;
  int32_t start = 1;
  int32_t end = text.length();  // past the closing quote
  for (;;) {
    int32_t quote = text.find_char('"', start);
    if (quote < 0) {  // unclosed: the rest
      run.append(text.text() + start, text.length() - start);
      break;
    }
    run.append(text.text() + start, quote - start);
    if (quote + 1 < text.length() && text[quote + 1] == '"') {
      run.append('"');
      start = quote + 2;
      continue;
    }
    end = quote + 1;
    break;
  }
  text.drop_front(end);
  return run;
}

}  // namespace install
