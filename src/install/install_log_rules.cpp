// The installation log's block and the closing message.
#include "install/install_log_rules.h"

#include "archive/archive_header.h"

namespace install {

core::String install_log_block(const InstallLogBlock& block) {
  core::String text;
  text.append_format("\r\nInstallation log for: %s\r\n", block.product_name.text());
  text.append_format("Install date: %s\r\n", block.date.text());
  if (block.uninstall_support) text.append_format("Install type: %s\r\n", block.reinstall ? "Reinstall" : "New");
  text.append_format("Install location: %s\r\n", block.install_location.text());
  text.append_format("Installer version: %s\r\n", core::from_double(archive::kProgramVersion, 1).text());
  if (!block.product_version.is_blank()) text.append_format("Product version: %s\r\n", block.product_version.text());
  text.append("\r\n");
  if (!block.log.is_blank()) {
    text.append(block.log);
    text.append("\r\n");
  }
  text.append(block.errors);
  return text;
}

ClosingMessage closing_message(bool errors, bool automatic, bool no_completion_message) {
  if (errors) return automatic ? ClosingMessage::None : ClosingMessage::OfferLog;
  return automatic || no_completion_message ? ClosingMessage::None : ClosingMessage::Completed;
}

}  // namespace install
