#include "install/run_records.h"

namespace install {

namespace {
constexpr int32_t kDirectoryBuckets = 40;
}

RunRecords::RunRecords() : recorded_directories_(kDirectoryBuckets) {}

void RunRecords::record_for_removal(const core::String& path, bool as_directory) {
  if (path.length() <= 3) return;
  if (as_directory) {
    core::String key = path;
    key.upper_ascii();
    if (recorded_directories_.contains(key)) return;
    recorded_directories_.set(key, true);
    removal_list_.append("~");
  }
  removal_list_.append(path);
  removal_list_.append("\r\n");
}

void RunRecords::report_failure(const core::String& label, const core::String& path,
                                const core::String& system_text) {
  error_report.append(label);
  error_report.append(' ');
  error_report.append(path);
  error_report.append("\r\n");
  error_report.append(system_text);
  error_report.append("\r\n");
}

void RunRecords::clear_removal_list() {
  removal_list_.clear();
  recorded_directories_.reset(kDirectoryBuckets);
}

}  // namespace install
