// "Install.LOG" and the closing message.
#include "install/install_log.h"

#include "archive/language_tables.h"
#include "core/calendar.h"
#include "core/date_format.h"
#include "core/text_format.h"
#include "core/win/whole_file.h"
#include "core/win/windows.h"
#include "install/engine.h"
#include "install/install_log_rules.h"
#include "install/uninstall_registration.h"
#include "ui/reporting.h"
#include "ui/run_state.h"

#include <shellapi.h>

namespace install {
namespace {

constexpr const char* kInstallLog = "Install.LOG";

// The shell's viewer for the log, else Notepad.
void show_log(const core::String& path, const InstallContext& context) {
  auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, nullptr, path.text(), nullptr, context.env.installer_directory.text(), SW_SHOW));
  if (result > 32) return;
  core::String command("notepad.exe ");
  command.append(path);
  start_program(command);
}

}  // namespace

bool write_install_log(const InstallContext& context, bool reinstall, bool show_summary) {
  const archive::Settings& settings = context.settings;
  const RunRecords& records = context.records;
  bool errors = !records.error_report.is_empty();
  core::String path = uninstall_file_path(context, kInstallLog);

  InstallLogBlock block;
  block.errors = records.error_report;
  bool view = false;
  if (show_summary) {
    switch (closing_message(errors, ui::run_state().automatic, context.has_flag(archive::flag::NoCompletionMessage))) {
      case ClosingMessage::None:
        break;
      case ClosingMessage::Completed:
        ui::message_box(ui::localised(archive::text_id::Completed).text(),
                        ui::localised(archive::text_id::CompletedCaption).text(), MB_ICONINFORMATION);
        break;
      case ClosingMessage::OfferLog: {
        // The archive's text is formatted against the log's path alone.
        core::String question = core::format_text(ui::localised(archive::text_id::ViewLogQuestion).text(), {path});
        view = ui::message_box(question.text(), ui::localised(archive::text_id::ViewLogCaption).text(),
                               MB_ICONINFORMATION | MB_YESNO) == IDYES;
        break;
      }
    }
    if (!errors) {
      block.errors = ui::localised(archive::text_id::CompletedCaption);
      block.errors.append("\r\n\r\n");
    }
  }

  bool written = true;
  if (log_block_due(errors, context.has_flag(archive::flag::AlwaysWriteLog))) {
    block.product_name = settings.product_name;
    block.date = core::format_date_time(core::now(), "d-M-yy h:ii:ssap");
    block.uninstall_support = context.has_flag(archive::flag::UninstallSupport);
    block.reinstall = reinstall;
    block.install_location = context.dirs.install_dir;
    block.product_version = settings.product_version;
    block.log = records.install_log;
    written = core::append_to_file(path.text(), install_log_block(block).text(), 0);
  }
  if (view && written) show_log(path, context);
  return written;
}

void write_log_and_report(const InstallContext& context) {
  write_install_log(context, ui::run_state().reinstall, true);
}

}  // namespace install
