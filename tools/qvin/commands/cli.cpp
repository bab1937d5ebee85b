// Command dispatch, help texts, and the one place where errors become exit codes.
#include <exception>
#include <filesystem>
#include <new>

#include "archive/corrupt_code.h"
#include "qvin/commands/commands.h"
#include "qvin/project/errors.h"

namespace qvin {
namespace {

constexpr std::string_view kOverview =
    "usage: qvin COMMAND [OPTIONS] ...\n"
    "\n"
    "Makes and reads single-file Windows installers.\n"
    "\n"
    "commands:\n"
    "  build PROJECT      make an installer from a project file\n"
    "  list INSTALLER     one line per file: kind, size, destination, version, time\n"
    "  info INSTALLER     header, flags, settings, languages and counts\n"
    "  verify INSTALLER   check the layout, every checksum and the volume files\n"
    "  extract INSTALLER  write the files below a directory\n"
    "\n"
    "  --help, -h         this text; qvin COMMAND --help for one command\n"
    "  --version          the tool's version\n"
    "\n"
    "Exit status: 0 success, 1 damaged or rejected input, 2 usage or project error.\n"
    "The project file is described in docs/project-file.md.\n";

constexpr std::string_view kBuildHelp =
    "usage: qvin build PROJECT [-o OUT] [--arch x64|x86] [--stub PATH] [-l LEVEL]\n"
    "                  [-D NAME=VALUE]... [-q | -v]\n"
    "\n"
    "Makes an installer from the project file PROJECT (TOML, see docs/project-file.md).\n"
    "Paths inside the project file are relative to the project file's directory; paths\n"
    "given here (PROJECT, OUT, PATH) are relative to the current directory.\n"
    "\n"
    "  -o, --output OUT   the installer to write (default: PROJECT's name with -setup.exe,\n"
    "                     in the current directory); volume files go next to it\n"
    "      --arch ARCH    x64 (default) or x86: which stub to look for\n"
    "      --stub PATH    the installer stub to use (default: qvin-stub-ARCH.exe next to\n"
    "                     qvin, else in build/win64/src or build/win32/src)\n"
    "  -l, --level LEVEL  compression level 0..9 (0 stores, 7..9 smallest but slower),\n"
    "                     overriding the project's\n"
    "  -D, --define NAME=VALUE\n"
    "                     the text the project's ${NAME} stands for, e.g. -D version=1.2.3\n"
    "                     with version = \"${version}\"; overrides [defines]; repeatable,\n"
    "                     the last value of a name wins. The value is inserted as text: a\n"
    "                     path in it is relative to the project file, like the rest of\n"
    "                     the file. A name the project never uses is an error.\n"
    "  -q, --quiet        no progress bar and no summary\n"
    "  -v, --verbose      also list each file as it is stored (size, kind, stored name)\n"
    "                     and each file written\n"
    "\n"
    "The progress bar is drawn on standard error only when it is a terminal. Sizes are\n"
    "in binary units (1 KiB = 1024 bytes). The output appears only when the build\n"
    "succeeds; an existing file is replaced whole. Time stamps come from the inputs,\n"
    "clamped to SOURCE_DATE_EPOCH when it is set.\n";

constexpr std::string_view kListHelp =
    "usage: qvin list INSTALLER\n"
    "\n"
    "Prints one line per file of the installer: kind, size, destination, version, time.\n";

constexpr std::string_view kInfoHelp =
    "usage: qvin info INSTALLER [--json]\n"
    "\n"
    "Prints the archive header, the flags by name, the settings, the languages and the\n"
    "counts. With --json everything, texts and files included, as one JSON object whose\n"
    "names are those of the project file.\n";

constexpr std::string_view kVerifyHelp =
    "usage: qvin verify INSTALLER\n"
    "\n"
    "Checks the section layout, every checksum (header block, data, each file, and the\n"
    "program bytes when the installer checks them) and the volume files: present, in\n"
    "order, with the right identifiers. Exit status 0 when sound; otherwise 1 and the\n"
    "error code the installer would report, with its meaning.\n";

constexpr std::string_view kExtractHelp =
    "usage: qvin extract INSTALLER [-d DIR] [--test] [-q]\n"
    "\n"
    "Writes every file of the installer below DIR (default: the current directory) under\n"
    "its stored name. A name that would leave DIR (absolute, drive letter, \"..\", device\n"
    "names) is refused and reported, never written.\n"
    "\n"
    "  -d, --directory DIR  where to write\n"
    "      --test           check every file but write nothing\n"
    "  -q, --quiet          no progress bar\n";

}  // namespace

std::string_view command_help(std::string_view command) {
  if (command == "build") return kBuildHelp;
  if (command == "list") return kListHelp;
  if (command == "info") return kInfoHelp;
  if (command == "verify") return kVerifyHelp;
  if (command == "extract") return kExtractHelp;
  return kOverview;
}

int run_cli(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << kOverview;
    return kExitUsage;
  }
  const std::string& command = args[0];
  if (command == "--help" || command == "-h" || command == "help") {
    out << command_help(args.size() > 1 ? args[1] : "");
    return kExitSuccess;
  }
  if (command == "--version") {
    out << "qvin " << QVIN_VERSION << "\n";
    return kExitSuccess;
  }
  using Command = int (*)(std::span<const std::string>, std::ostream&);
  Command run = nullptr;
  if (command == "build") run = command_build;
  else if (command == "list") run = command_list;
  else if (command == "info") run = command_info;
  else if (command == "verify") run = command_verify;
  else if (command == "extract") run = command_extract;
  if (!run) {
    err << "qvin: unknown command \"" << command << "\" (qvin --help lists them)\n";
    return kExitUsage;
  }
  const auto rest = args.subspan(1);
  for (const auto& a : rest)
    if (a == "--help" || a == "-h") {
      out << command_help(command);
      return kExitSuccess;
    }
  try {
    return run(rest, out);
  } catch (const UsageError& e) {
    err << "qvin " << command << ": " << e.what() << "\n" << command_help(command);
    return kExitUsage;
  } catch (const ProjectError& e) {
    err << "qvin " << command << ": " << e.what() << "\n";
    return kExitUsage;
  } catch (const InputError& e) {
    err << "qvin " << command << ": " << e.what();
    if (e.code != 0)
      err << " (error code " << e.code << ": "
          << archive::corrupt_code_meaning(static_cast<archive::CorruptCode>(e.code)) << ")";
    err << "\n";
    return kExitRejected;
  } catch (const std::bad_alloc&) {
    err << "qvin " << command << ": out of memory\n";
    return kExitRejected;
  } catch (const std::filesystem::filesystem_error& e) {
    err << "qvin " << command << ": " << e.what() << "\n";
    return kExitUsage;
  }
}

}  // namespace qvin
