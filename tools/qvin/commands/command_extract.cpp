// qvin extract: the files of an installer, written below a directory under their stored names.
#include <filesystem>

#include "qvin/commands/cli_args.h"
#include "qvin/commands/commands.h"
#include "qvin/commands/extract_paths.h"
#include "qvin/commands/progress.h"
#include "qvin/installer/installer_file.h"
#include "qvin/platform/output_file.h"
#include "qvin/platform/system.h"
#include "qvin/project/errors.h"
#include "qvin/project/source_times.h"
#include "qvin/project/text_encoding.h"

namespace qvin {
namespace fs = std::filesystem;

namespace {

// Creates the directories of `relative` below `root` one by one, refusing to pass
// through anything that is not a plain directory (a link planted there could lead out).
bool make_parents(const fs::path& root, const fs::path& relative, std::string& why) {
  fs::path at = root;
  for (const auto& part : relative.parent_path()) {
    at /= part;
    std::error_code ec;
    const auto status = fs::symlink_status(at, ec);
    if (status.type() == fs::file_type::not_found) {
      if (!fs::create_directory(at, ec) && ec) {
        why = "cannot create " + at.string() + ": " + ec.message();
        return false;
      }
    } else if (status.type() != fs::file_type::directory) {
      why = at.string() + " is in the way (not a directory)";
      return false;
    }
  }
  return true;
}

bool write_file(const fs::path& path, const FileRecord& f, std::string& why) {
  std::error_code ec;
  if (fs::symlink_status(path, ec).type() == fs::file_type::symlink) fs::remove(path, ec);
  platform::OutputFile file;
  if (file.create_replacing(path) && file.write(f.data)) {
    // The stamp is kept where the file system can; a file without it is still whole.
    if (f.entry.time.has_date()) file.set_time(unix_seconds_of(f.entry.time));
    if (file.close()) return true;
  }
  why = "cannot write " + path.string() + ": " + file.error();
  return false;
}

}  // namespace

int command_extract(std::span<const std::string> argv, std::ostream& out) {
  static constexpr OptionSpec kOptions[] = {{"directory", 'd', true}, {"test", 0, false}, {"quiet", 'q', false}};
  const ParsedArgs args = parse_args(argv, kOptions);
  if (args.positional.size() != 1) throw UsageError("expected one installer");
  const bool test = args.has("test");
  const fs::path root = platform::path_from_utf8(args.value("directory").value_or("."));
  const Installer in = read_installer(platform::path_from_utf8(args.positional[0]), true);

  uint64_t total = 0;
  for (const auto& f : in.files) total += f.data.size();
  Progress progress(test ? "testing" : "extracting", in.files.size(), total, Progress::wanted(args.has("quiet")));
  if (!test) {
    std::error_code ec;
    fs::create_directories(root, ec);
    if (!fs::is_directory(root)) throw ProjectError(root.string() + ": cannot create the directory");
  }
  int refused = 0, failed = 0;
  for (const auto& f : in.files) {
    progress.advance(1, f.data.size());
    const ExtractPath target = extract_path(from_core(f.entry.name));
    if (!target.path) {
      progress.finish();
      out << "refused: \"" << utf8_of(f.entry.name) << "\": " << target.refusal << "\n";
      ++refused;
      continue;
    }
    if (test) continue;
    std::string why;
    if (!make_parents(root, *target.path, why) || !write_file(root / *target.path, f, why)) {
      progress.finish();
      out << "failed: " << why << "\n";
      ++failed;
    }
  }
  progress.finish();
  if (failed) throw ProjectError(std::to_string(failed) + " file(s) could not be written");
  if (refused)
    throw InputError(std::to_string(refused) + " file name(s) refused: they would leave " + root.string());
  if (!args.has("quiet"))
    out << (test ? "tested " : "extracted ") << in.files.size() << " file(s)" << (test ? "" : " to " + root.string())
        << "\n";
  return kExitSuccess;
}

}  // namespace qvin
