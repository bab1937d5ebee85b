// qvin list, info and verify: reports on an installer.
#include <cstdio>
#include <iomanip>

#include "archive/corrupt_code.h"
#include "qvin/commands/cli_args.h"
#include "qvin/commands/commands.h"
#include "qvin/commands/progress.h"
#include "qvin/commands/settings_report.h"
#include "qvin/installer/installer_file.h"
#include "qvin/platform/system.h"
#include "qvin/project/errors.h"
#include "qvin/project/flag_names.h"
#include "qvin/project/source_times.h"
#include "qvin/project/text_encoding.h"

namespace qvin {
namespace {

std::filesystem::path one_installer(const ParsedArgs& args) {
  if (args.positional.size() != 1) throw UsageError("expected one installer");
  return platform::path_from_utf8(args.positional[0]);
}

Json layout_json(const Installer& in) {
  const InstallerLayout& l = in.layout;
  const archive::ArchiveHeader& h = l.header;
  Json j = Json::object();
  j.set("file_size", l.file_size);
  j.set("format_version", h.format_version);
  j.set("section_index", l.section.index);
  j.set("section_count", l.section.section_count);
  j.set("section_offset", l.section.raw_offset);
  j.set("section_size", l.section.raw_size);
  j.set("block_size", h.block_size);
  j.set("block_length", h.block.length());
  j.set("block_sum", h.block_sum);
  j.set("exe_sum", h.exe_sum);
  j.set("image_data_end", h.image_data_end);
  j.set("file_count", h.file_count);
  j.set("data_length", h.data_length);
  j.set("data_sum", h.data_sum);
  j.set("data_in_installer", l.first_part_bytes);
  Json volumes = Json::array();
  for (const auto& v : in.volumes) {
    Json vj = Json::object();
    vj.set("file", v.path.filename().string());
    vj.set("number", v.number);
    vj.set("identifier", v.identifier);
    vj.set("data_bytes", v.data_bytes);
    volumes.push(vj);
  }
  j.set("volumes", volumes);
  return j;
}

}  // namespace

int command_list(std::span<const std::string> argv, std::ostream& out) {
  static constexpr OptionSpec kOptions[] = {{"quiet", 'q', false}};
  const ParsedArgs args = parse_args(argv, kOptions);
  const Installer in = read_installer(one_installer(args), true);
  for (const auto& f : in.files) {
    const archive::FileEntry& e = f.entry;
    const bool versioned = archive::entry_text(e.kind) == archive::EntryText::Version && !e.text.is_empty();
    const std::string version = versioned ? utf8_of(e.text) : "-";
    out << std::left << std::setw(12) << kind_text(e.kind) << " " << std::right << std::setw(10) << f.data.size()
        << " B  " << std::left << std::setw(40) << destination_text(e) << " " << std::setw(16) << version << " "
        << stored_time_text(e.time, ' ', "-") << "\n";
  }
  return kExitSuccess;
}

int command_info(std::span<const std::string> argv, std::ostream& out) {
  static constexpr OptionSpec kOptions[] = {{"json", 0, false}};
  const ParsedArgs args = parse_args(argv, kOptions);
  const bool json = args.has("json");
  const Installer in = read_installer(one_installer(args), json);
  const InstallerLayout& l = in.layout;
  const archive::ArchiveHeader& h = l.header;
  const archive::Settings& s = in.settings;
  if (json) {
    Json root = settings_json(s);
    Json files = Json::array();
    for (const auto& f : in.files) files.push(file_json(f));
    Json all = Json::object();
    all.set("installer", in.path.filename().string());
    all.set("layout", layout_json(in));
    Json counts = Json::object();
    counts.set("files", h.file_count);
    counts.set("licences", s.licence_texts.count());
    counts.set("readmes", s.readme_texts.count());
    counts.set("deletions", s.deletion_rules.count());
    counts.set("associations", s.file_associations.count());
    counts.set("uninstall_values", s.uninstall_values.count());
    counts.set("languages", s.languages.language_count());
    counts.set("strings", s.languages.string_count());
    counts.set("volumes", static_cast<int64_t>(in.volumes.size()));
    all.set("counts", counts);
    // The settings' tables follow at the top level, under the project file's names.
    for (const auto& [key, value] : *root.as_object()) all.set(key, value);
    all.set("files", files);
    out << all.dump();
    return kExitSuccess;
  }
  out << "installer: " << in.path.string() << " (" << l.file_size << " bytes)\n";
  char version[32];
  std::snprintf(version, sizeof version, "%d.%d", h.format_version / 100, h.format_version % 100);
  out << "archive: format " << version << ", section " << l.section.index + 1 << " of " << l.section.section_count
      << " at offset " << l.section.raw_offset << " (" << l.section.raw_size << " bytes)\n";
  out << "header block: " << h.block_size << " bytes stored, " << h.block.length() << " bytes of settings\n";
  out << "data: " << h.data_length << " bytes stored" << ((s.flags & archive::flag::CompressData) ? " (compressed)" : "");
  // Known once the data has been read (info reads only the header block unless asked for JSON).
  if (l.first_part_bytes >= 0) out << ", " << l.first_part_bytes << " in the installer";
  if (!in.volumes.empty()) out << ", the rest in " << in.volumes.size() << " volume file(s)";
  out << "\n";
  print_settings(out, s);
  out << "languages:";
  for (int32_t i = 0; i < s.languages.language_count(); ++i) out << " " << utf8_of(s.languages.language_name(i));
  out << " (" << s.languages.string_count() << " strings each)\n";
  out << "counts: " << h.file_count << " files, " << s.licence_texts.count() << " licence texts, "
      << s.readme_texts.count() << " readme texts, " << s.deletion_rules.count() << " deletion rules, "
      << s.file_associations.count() << " associations, " << s.uninstall_values.count() << " uninstall values, "
      << in.volumes.size() << " volume files\n";
  return kExitSuccess;
}

int command_verify(std::span<const std::string> argv, std::ostream& out) {
  static constexpr OptionSpec kOptions[] = {{"quiet", 'q', false}};
  const ParsedArgs args = parse_args(argv, kOptions);
  const Installer in = read_installer(one_installer(args), true);
  out << in.path.string() << ": sound (" << in.files.size() << " files, " << in.layout.header.data_length
      << " bytes of data";
  if (!in.volumes.empty()) out << ", " << in.volumes.size() << " volume file(s)";
  out << ")\n";
  return kExitSuccess;
}

}  // namespace qvin
