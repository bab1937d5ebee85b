// Writing and reading "SharedFiles".
#include "install/shared_files_codec.h"

#include "install/quoted_run_codec.h"

namespace install {

core::String write_shared_files(const core::Vector<SharedFile>& files) {
  core::String text;
  for (const SharedFile& file : files) {
    if (!text.is_empty()) text.append(';');
    core::String run = file.target;
    if (file.marker != shared_marker::None) run.append(file.marker);
    append_quoted_run(text, run);
  }
  return text;
}

bool cut_shared_file(core::String& text, SharedFile& entry) {
  core::String run = cut_quoted_run(text);
  char marker = shared_marker::None;
  for (char candidate : {shared_marker::ComServer, shared_marker::Permanent, shared_marker::TypeLibrary}) {
    if (run.remove_suffix(candidate)) {
      marker = candidate;
      break;
    }
  }
  if (run.is_empty()) return false;
  text.remove_prefix(';');
  entry.target = run;
  entry.marker = marker;
  entry.existed_before = false;
  return true;
}

core::Vector<SharedFile> read_shared_files(const core::String& text) {
  core::Vector<SharedFile> files;
  core::String rest = text;
  SharedFile entry;
  while (cut_shared_file(rest, entry)) files.append(entry);
  return files;
}

}  // namespace install
