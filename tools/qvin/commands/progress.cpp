// Terminal progress bar: carriage return redraws, throttled, cleared at the end.
#include "qvin/commands/progress.h"

#include <algorithm>
#include <unistd.h>

namespace qvin {

std::string human_bytes(uint64_t bytes) {
  static constexpr const char* kUnits[] = {"B", "KB", "MB", "GB", "TB"};
  double v = static_cast<double>(bytes);
  int unit = 0;
  while (v >= 1024 && unit < 4) {
    v /= 1024;
    ++unit;
  }
  char buf[32];
  if (unit == 0) std::snprintf(buf, sizeof buf, "%llu B", static_cast<unsigned long long>(bytes));
  else std::snprintf(buf, sizeof buf, "%.1f %s", v, kUnits[unit]);
  return buf;
}

std::string progress_line(const std::string& label, uint64_t files_done, uint64_t files_total,
                          uint64_t bytes_done, uint64_t bytes_total, double seconds, int width) {
  const double fraction =
      bytes_total ? static_cast<double>(bytes_done) / static_cast<double>(bytes_total)
                  : (files_total ? static_cast<double>(files_done) / static_cast<double>(files_total) : 1.0);
  std::string tail = " " + std::to_string(files_done) + "/" + std::to_string(files_total) + " files  " +
                     human_bytes(bytes_done) + "/" + human_bytes(bytes_total);
  if (seconds > 0.05) tail += "  " + human_bytes(static_cast<uint64_t>(static_cast<double>(bytes_done) / seconds)) + "/s";
  const int bar = std::max(0, width - static_cast<int>(label.size() + tail.size()) - 3);
  const int filled = static_cast<int>(std::min(1.0, fraction) * bar);
  std::string line = label + " [" + std::string(filled, '#') + std::string(bar - filled, '-') + "]" + tail;
  if (static_cast<int>(line.size()) > width) line.resize(std::max(0, width));
  return line;
}

Progress::Progress(std::string label, uint64_t files_total, uint64_t bytes_total, bool enabled,
                   std::FILE* out)
    : label_(std::move(label)), files_total_(files_total), bytes_total_(bytes_total),
      enabled_(enabled), out_(out), start_(std::chrono::steady_clock::now()), last_(start_) {}

Progress::~Progress() { finish(); }

bool Progress::wanted(bool quiet) { return !quiet && isatty(STDERR_FILENO) == 1; }

void Progress::advance(uint64_t files, uint64_t bytes) {
  files_ += files;
  bytes_ += bytes;
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (drawn_ && now - last_ < std::chrono::milliseconds(100)) return;
  last_ = now;
  draw();
}

void Progress::draw() {
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  std::fprintf(out_, "\r%s", progress_line(label_, files_, files_total_, bytes_, bytes_total_, seconds, 79).c_str());
  std::fflush(out_);
  drawn_ = true;
}

void Progress::finish() {
  if (!enabled_ || !drawn_) return;
  std::fprintf(out_, "\r%79s\r", "");
  std::fflush(out_);
  drawn_ = false;
  enabled_ = false;
}

}  // namespace qvin
