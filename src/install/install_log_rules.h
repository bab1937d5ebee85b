// The installation log's block and the choice of the closing message, without the machine.
#pragma once

#include "core/string.h"

namespace install {

// What one run's block of "Install.LOG" says.
struct InstallLogBlock {
  core::String product_name;
  core::String date;  // now, as "d-M-yy h:ii:ssap"
  bool uninstall_support = false;
  bool reinstall = false;  // "Install type" is written only with uninstall support
  core::String install_location;
  core::String product_version;  // its line only when not blank
  core::String log;              // the installation log text; with its line end when not blank
  core::String errors;           // the error report, or the completion caption and a blank line
};

// The block: the header lines, a blank line, the log and the errors.
core::String install_log_block(const InstallLogBlock& block);

// How a run ends: a completion message, the question whether to view the log, or nothing.
enum class ClosingMessage { None, Completed, OfferLog };

// Without errors the completion message shows unless the run is automatic or the settings
// turn it off; with errors an attended run offers the log.
ClosingMessage closing_message(bool errors, bool automatic, bool no_completion_message);

// A block is appended when the settings always keep a log or the run had errors.
inline bool log_block_due(bool errors, bool always_keep_log) { return errors || always_keep_log; }

}  // namespace install
