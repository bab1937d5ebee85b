// Name tables of flag bits and stored codes, shared by the project reader and the reports.
#include "qvin/flag_names.h"

namespace qvin {
namespace {

constexpr FlagName kFlags[] = {
    {"refuse_existing_installation", 1, 0x1},
    {"uninstaller_shortcut_in_start_menu", 1, 0x2},
    {"uninstall_support", 1, 0x4},
    {"uninstall_asks_about_fonts", 1, 0x10},
    {"compress_data", 1, 0x20},
    {"always_write_log", 1, 0x40},
    {"ask_install_directory", 1, 0x80},
    {"automatic", 1, 0x100},
    {"uninstall_automatic", 1, 0x200},
    {"uninstall_removes_directory_tree", 1, 0x400},
    {"replace_new_files_at_restart", 1, 0x800},
    {"add_to_path", 1, 0x1000},
    {"offer_restart", 1, 0x4000},
    {"install_background_bitmap", 1, 0x8000},
    {"add_on", 1, 0x10000},
    {"uninstall_asks_about_shared_files", 1, 0x20000},
    {"verify_written_files", 1, 0x40000},
    {"clear_attributes_on_retry", 1, 0x80000},
    {"detailed_log", 1, 0x100000},
    {"disable_cancel", 1, 0x200000},
    {"no_completion_message", 1, 0x400000},
    {"hide_pre_install_batch", 1, 0x800000},
    {"hide_post_install_batch", 1, 0x1000000},
    {"hide_exit_batch", 1, 0x2000000},
    {"hide_uninstall_batch_1", 1, 0x4000000},
    {"hide_uninstall_batch_2", 1, 0x8000000},
    {"no_overwrite_question", 1, 0x10000000},
    {"no_background_window", 1, 0x20000000},
    {"confirm_install_directory", 1, 0x80000000},
    {"verify_installer_checksum", 2, 0x1},
    {"uninstaller_shortcut_on_desktop", 2, 0x2},
    {"errors_in_automatic_mode", 2, 0x8},
    {"compare_versions", 2, 0x10},
    {"refuse_network_directory", 2, 0x20},
    {"uninstaller_shortcut_in_uninstall_directory", 2, 0x40},
    {"full_screen_background", 2, 0x100},
    {"restart_question_in_automatic_mode", 2, 0x200},
    {"fixed_title_in_language_dialog", 2, 0x400},
};

constexpr CodeName kKinds[] = {
    {"install", 0}, {"shared", 1},  {"path", 2},        {"path-alt", 3},     {"font", 4},
    {"startup", 5}, {"system", 6},  {"com-server", 7},  {"type-library", 8}, {"versioned", 9},
};
constexpr CodeName kExistence[] = {
    {"always", 0}, {"never", 4}, {"if-exists", 8}, {"if-absent", 12}};
constexpr CodeName kConditions[] = {
    {"none", 0},          {"date-equal", 1}, {"date-on-or-after", 2}, {"date-on-or-before", 3},
    {"size-equal", 4},    {"size-at-least", 5}, {"size-at-most", 6}};
constexpr CodeName kValueTypes[] = {{"string", 1}, {"expand-string", 2}, {"dword", 4}};
constexpr CodeName kTitlePositions[] = {
    {"none", 0},        {"top-left", 1},      {"top-centre", 2},    {"top-right", 3},
    {"bottom-left", 4}, {"bottom-centre", 5}, {"bottom-right", 6}};
constexpr CodeName kStretchModes[] = {{"stretch", 0}, {"fit", 1}, {"zoom", 2}};
constexpr CodeName kSystems[] = {
    {"unrecognised", 1}, {"win32s", 2},  {"win95", 4},   {"win98", 8},    {"winme", 16},
    {"nt3", 32},         {"nt4", 64},    {"win2000", 128}, {"winxp", 256}, {"nt5.2", 512}};
constexpr CodeName kAttributes[] = {{"read-only", 0x1}, {"hidden", 0x2},    {"system", 0x4},
                                    {"archive", 0x20},  {"temporary", 0x100}, {"offline", 0x1000}};

}  // namespace

std::span<const FlagName> flag_names() { return kFlags; }

std::optional<FlagName> find_flag(std::string_view name) {
  for (const auto& f : kFlags)
    if (f.name == name) return f;
  return std::nullopt;
}

std::span<const CodeName> destination_kind_names() { return kKinds; }
std::span<const CodeName> existence_names() { return kExistence; }
std::span<const CodeName> deletion_condition_names() { return kConditions; }
std::span<const CodeName> uninstall_value_type_names() { return kValueTypes; }
std::span<const CodeName> title_position_names() { return kTitlePositions; }
std::span<const CodeName> stretch_mode_names() { return kStretchModes; }
std::span<const CodeName> system_class_names() { return kSystems; }
std::span<const CodeName> attribute_names() { return kAttributes; }

std::optional<std::string_view> name_of(std::span<const CodeName> table, uint32_t code) {
  for (const auto& c : table)
    if (c.code == code) return c.name;
  return std::nullopt;
}

std::optional<uint32_t> code_of(std::span<const CodeName> table, std::string_view name) {
  for (const auto& c : table)
    if (c.name == name) return c.code;
  return std::nullopt;
}

}  // namespace qvin
