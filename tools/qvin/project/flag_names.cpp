// Name tables of flag bits and stored codes, shared by the project reader and the reports.
// Every value is the archive library's constant; only the names are the tool's.
#include "qvin/project/flag_names.h"

#include "archive/deletion_rule.h"
#include "archive/file_entry.h"
#include "archive/settings.h"
#include "archive/uninstall_data.h"

namespace qvin {
namespace {

constexpr FlagName kFlags[] = {
    {"refuse_existing_installation", 1, archive::flag::RefuseExistingInstallation},
    {"uninstaller_shortcut_in_start_menu", 1, archive::flag::UninstallerShortcutInStartMenu},
    {"uninstall_support", 1, archive::flag::UninstallSupport},
    {"uninstall_asks_about_fonts", 1, archive::flag::UninstallAsksAboutFonts},
    {"compress_data", 1, archive::flag::CompressData},
    {"always_write_log", 1, archive::flag::AlwaysWriteLog},
    {"ask_install_directory", 1, archive::flag::AskInstallDirectory},
    {"automatic", 1, archive::flag::Automatic},
    {"uninstall_automatic", 1, archive::flag::UninstallAutomatic},
    {"uninstall_removes_directory_tree", 1, archive::flag::UninstallRemovesDirectoryTree},
    {"replace_new_files_at_restart", 1, archive::flag::ReplaceNewFilesAtRestart},
    {"add_to_path", 1, archive::flag::AddToPath},
    {"offer_restart", 1, archive::flag::OfferRestart},
    {"install_background_bitmap", 1, archive::flag::InstallBackgroundBitmap},
    {"add_on", 1, archive::flag::AddOn},
    {"uninstall_asks_about_shared_files", 1, archive::flag::UninstallAsksAboutSharedFiles},
    {"verify_written_files", 1, archive::flag::VerifyWrittenFiles},
    {"clear_attributes_on_retry", 1, archive::flag::ClearAttributesOnRetry},
    {"detailed_log", 1, archive::flag::DetailedLog},
    {"disable_cancel", 1, archive::flag::DisableCancel},
    {"no_completion_message", 1, archive::flag::NoCompletionMessage},
    {"hide_pre_install_batch", 1, archive::flag::HidePreInstallBatch},
    {"hide_post_install_batch", 1, archive::flag::HidePostInstallBatch},
    {"hide_exit_batch", 1, archive::flag::HideExitBatch},
    {"hide_uninstall_batch_1", 1, archive::flag::HideUninstallBatch1},
    {"hide_uninstall_batch_2", 1, archive::flag::HideUninstallBatch2},
    {"no_overwrite_question", 1, archive::flag::NoOverwriteQuestion},
    {"no_background_window", 1, archive::flag::NoBackgroundWindow},
    {"confirm_install_directory", 1, archive::flag::ConfirmInstallDirectory},
    {"verify_installer_checksum", 2, archive::flag2::VerifyInstallerChecksum},
    {"uninstaller_shortcut_on_desktop", 2, archive::flag2::UninstallerShortcutOnDesktop},
    {"errors_in_automatic_mode", 2, archive::flag2::ErrorsInAutomaticMode},
    {"compare_versions", 2, archive::flag2::CompareVersions},
    {"refuse_network_directory", 2, archive::flag2::RefuseNetworkDirectory},
    {"uninstaller_shortcut_in_uninstall_directory", 2, archive::flag2::UninstallerShortcutInUninstallDirectory},
    {"full_screen_background", 2, archive::flag2::FullScreenBackground},
    {"restart_question_in_automatic_mode", 2, archive::flag2::RestartQuestionInAutomaticMode},
    {"fixed_title_in_language_dialog", 2, archive::flag2::FixedTitleInLanguageDialog},
};

namespace kind = archive::file_kind;
constexpr CodeName kKinds[] = {
    {"install", kind::Install}, {"shared", kind::Shared},       {"path", kind::Path},
    {"path-alt", kind::PathAlt}, {"font", kind::Font},          {"startup", kind::Startup},
    {"system", kind::System},   {"com-server", kind::ComServer}, {"type-library", kind::TypeLibrary},
    {"versioned", kind::Versioned},
};
using archive::ExistenceMode;
constexpr CodeName kExistence[] = {{"always", static_cast<uint32_t>(ExistenceMode::Always)},
                                   {"never", static_cast<uint32_t>(ExistenceMode::Never)},
                                   {"if-exists", static_cast<uint32_t>(ExistenceMode::IfExists)},
                                   {"if-absent", static_cast<uint32_t>(ExistenceMode::IfAbsent)}};
namespace condition = archive::deletion_condition;
constexpr CodeName kConditions[] = {
    {"none", condition::None},           {"date-equal", condition::DateEqual},
    {"date-on-or-after", condition::DateOnOrAfter}, {"date-on-or-before", condition::DateOnOrBefore},
    {"size-equal", condition::SizeEqual}, {"size-at-least", condition::SizeAtLeast},
    {"size-at-most", condition::SizeAtMost}};
namespace value_type = archive::uninstall_value_type;
constexpr CodeName kValueTypes[] = {
    {"string", value_type::Text}, {"expand-string", value_type::ExpandableText}, {"dword", value_type::Number}};
namespace position = archive::title_position;
constexpr CodeName kTitlePositions[] = {
    {"none", position::None},             {"top-left", position::TopLeft},
    {"top-centre", position::TopCentre},  {"top-right", position::TopRight},
    {"bottom-left", position::BottomLeft}, {"bottom-centre", position::BottomCentre},
    {"bottom-right", position::BottomRight}};
namespace stretch = archive::stretch_mode;
constexpr CodeName kStretchModes[] = {
    {"stretch", stretch::Stretch}, {"fit", stretch::Fit}, {"zoom", stretch::Zoom}};
namespace os = archive::os_class;
constexpr CodeName kSystems[] = {
    {"unrecognised", os::Unrecognised}, {"win32s", os::Win32s}, {"win95", os::Windows95},
    {"win98", os::Windows98},           {"winme", os::WindowsMe}, {"nt3", os::Nt3},
    {"nt4", os::Nt4},                   {"win2000", os::Windows2000}, {"winxp", os::WindowsXp},
    {"nt5.2", os::Nt52}};
namespace attribute = archive::file_attribute;
constexpr CodeName kAttributes[] = {
    {"read-only", attribute::ReadOnly}, {"hidden", attribute::Hidden},       {"system", attribute::System},
    {"archive", attribute::Archive},    {"temporary", attribute::Temporary}, {"offline", attribute::Offline}};
constexpr CodeName kShortcutModes[] = {{"current-user", archive::shortcut_mode::CurrentUser},
                                       {"all-users", archive::shortcut_mode::AllUsers}};
constexpr CodeName kPlacements[] = {{"image", archive::data_placement::InImage},
                                    {"file", archive::data_placement::InFile}};

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
std::span<const CodeName> shortcut_mode_names() { return kShortcutModes; }
std::span<const CodeName> data_placement_names() { return kPlacements; }

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
