// qvin build: project file -> installer (stub + archive section) and volume files.
#include <fstream>
#include <iomanip>
#include <sstream>

#include "qvin/commands/cli_args.h"
#include "qvin/commands/commands.h"
#include "qvin/commands/progress.h"
#include "qvin/commands/settings_report.h"
#include "qvin/installer/installer_file.h"
#include "qvin/platform/system.h"
#include "qvin/project/defines.h"
#include "qvin/project/errors.h"
#include "qvin/project/file_plan.h"
#include "qvin/project/project_file.h"
#include "qvin/project/source_times.h"
#include "qvin/project/text_encoding.h"

namespace qvin {
namespace fs = std::filesystem;

namespace {

constexpr OptionSpec kOptions[] = {{"output", 'o', true}, {"arch", 0, true},     {"stub", 0, true},
                                    {"level", 'l', true},  {"define", 'D', true},  {"quiet", 'q', false},
                                    {"verbose", 'v', false}};

// The stub: --stub, else next to qvin, else in the build tree (qvin lives in
// build/host/tools/qvin, the stubs in build/win64/src and build/win32/src).
fs::path find_stub(const ParsedArgs& args, const std::string& arch) {
  if (auto stub = args.value("stub")) {
    const fs::path path = platform::path_from_utf8(*stub);
    if (!fs::is_regular_file(path)) throw ProjectError("--stub " + *stub + ": no such file");
    return path;
  }
  const std::string name = "qvin-stub-" + arch + ".exe";
  const std::string preset = arch == "x64" ? "win64" : "win32";
  const fs::path self = platform::running_program().parent_path();
  std::vector<fs::path> candidates = {self / name, self / ".." / ".." / ".." / preset / "src" / name,
                                      fs::path("build") / preset / "src" / name};
  std::string looked;
  for (const auto& c : candidates) {
    if (fs::is_regular_file(c)) return c.lexically_normal();
    looked += "\n  " + c.lexically_normal().string();
  }
  throw ProjectError("no installer stub " + name + " found; looked in:" + looked +
                     "\nbuild the " + preset + " preset or give --stub PATH");
}

// The -D name=value options; a later value of a name replaces an earlier one.
Defines defines_of(const ParsedArgs& args) {
  Defines defines;
  for (const std::string& given : args.all("define")) {
    const size_t eq = given.find('=');
    const std::string name = given.substr(0, eq);
    if (eq == std::string::npos || !is_define_name(name))
      throw UsageError("--define " + given + ": expected NAME=VALUE, NAME a letter or '_' followed by "
                       "letters, digits, '_' and '-'");
    defines[name] = given.substr(eq + 1);
  }
  return defines;
}

std::string read_all(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ProjectError(path.string() + ": cannot read");
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

int command_build(std::span<const std::string> argv, std::ostream& out) {
  const ParsedArgs args = parse_args(argv, kOptions);
  if (args.positional.size() != 1) throw UsageError("expected one project file");
  const std::string arch = args.value("arch").value_or("x64");
  if (arch != "x64" && arch != "x86") throw UsageError("--arch: expected x64 or x86, found " + arch);
  const bool quiet = args.has("quiet");
  const bool verbose = args.has("verbose");
  if (quiet && verbose) throw UsageError("--quiet and --verbose exclude each other");

  const auto level = args.value("level");
  if (level && (level->size() != 1 || (*level)[0] < '0' || (*level)[0] > '9'))
    throw UsageError("--level: expected 0 to 9, found " + *level);
  const fs::path project_file = platform::path_from_utf8(args.positional[0]);
  Project project = load_project(project_file, defines_of(args));
  if (level) project.compression_level = (*level)[0] - '0';
  archive::Settings& settings = project.settings;
  constexpr uint32_t compress = archive::flag::CompressData;
  if (!(project.flags_given & compress))
    settings.flags = project.compression_level > 0 ? (settings.flags | compress) : (settings.flags & ~compress);

  const fs::path output = args.value("output")
                              ? platform::path_from_utf8(*args.value("output"))
                              : platform::path_from_utf8(project_file.stem().string() + "-setup.exe");
  const fs::path stub_path = find_stub(args, arch);
  const std::string stub = read_all(stub_path);

  const auto epoch = source_date_epoch();
  if (!project.given.count("install.uninstaller_stamp"))
    settings.uninstaller_stamp = epoch ? stored_time_of(*epoch) : file_stamp(stub_path, std::nullopt);
  if (!project.given.count("archive.volume_base_name")) {
    const auto base = utf8_to_cp1252(output.stem().string());
    settings.volume_base_name = to_core(base && !base->empty() ? *base : "VOLUME");
  }

  std::vector<FileRecord> files;
  {
    // The progress while reading sources counts files; compression reports bytes.
    Progress reading("reading", 0, 0, Progress::wanted(quiet));
    files = plan_files(project, epoch, [&](uint64_t bytes) { reading.advance(1, bytes); });
  }
  uint64_t total = 0;
  for (const auto& f : files) total += static_cast<uint64_t>(f.data_size());
  if (verbose) {
    // Each file as the archive will hold it, in the file table's order.
    for (const auto& f : files)
      out << std::right << std::setw(10) << human_bytes(f.data_size()) << "  " << std::left << std::setw(12)
          << kind_text(f.entry.kind) << " " << utf8_of(f.entry.name) << "\n";
  }
  // Compression reports its bytes as it ends; until then the bar shows the time it takes.
  Progress packing("packing", 0, total, Progress::wanted(quiet));
  BuildOptions options;
  options.compression_level = project.compression_level;
  options.codec = project.lzma ? DataCodec::Lzma : DataCodec::Block;
  options.volume_size = project.volume_size;
  options.choose_first_volume_id = !project.given.count("archive.first_volume_id");
  options.progress = [&](uint64_t bytes) { packing.advance(0, bytes); };
  const BuildReport report = write_installer(output, stub, settings, files, options);
  packing.finish();
  if (verbose)
    for (const fs::path& written : report.outputs) {
      std::error_code ec;
      const auto size = fs::file_size(written, ec);
      out << "wrote " << written.string() << " (" << (ec ? std::string("size unknown") : human_bytes(size)) << ")\n";
    }
  if (!quiet) {
    out << output.string() << ": " << files.size() << " file(s), " << human_bytes(report.data_bytes) << " of data stored in "
        << human_bytes(report.stored_data_bytes) << "; installer " << human_bytes(report.installer_bytes);
    if (report.outputs.size() > 1) out << " and " << report.outputs.size() - 1 << " volume file(s)";
    out << "\n";
  }
  return kExitSuccess;
}

}  // namespace qvin
