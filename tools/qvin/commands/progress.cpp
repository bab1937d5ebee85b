// Terminal progress bar: carriage return redraws, throttled, cleared at the end.
#include "qvin/commands/progress.h"

#include <algorithm>

#include "qvin/platform/system.h"

namespace qvin {

std::string human_bytes(uint64_t bytes) {
  static constexpr const char* kUnits[] = {"B", "KiB", "MiB", "GiB", "TiB"};
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
  std::string tail;
  if (files_total) tail += " " + std::to_string(files_done) + "/" + std::to_string(files_total) + " files ";
  else if (files_done) tail += " " + std::to_string(files_done) + " files ";
  tail += " " + human_bytes(bytes_done) + (bytes_total ? "/" + human_bytes(bytes_total) : "");
  if (bytes_done && seconds > 0.05)
    tail += "  " + human_bytes(static_cast<uint64_t>(static_cast<double>(bytes_done) / seconds)) + "/s";
  if (seconds >= 1) {
    const auto whole = static_cast<uint64_t>(seconds);
    char clock[32];
    std::snprintf(clock, sizeof clock, "  %llu:%02llu", static_cast<unsigned long long>(whole / 60),
                  static_cast<unsigned long long>(whole % 60));
    tail += clock;
  }
  std::string line = label;
  if (files_total || bytes_total) {
    const double fraction = bytes_total ? static_cast<double>(bytes_done) / static_cast<double>(bytes_total)
                                        : static_cast<double>(files_done) / static_cast<double>(files_total);
    const int bar = std::max(0, width - static_cast<int>(label.size() + tail.size()) - 3);
    const int filled = static_cast<int>(std::min(1.0, fraction) * bar);
    line += " [" + std::string(filled, '#') + std::string(bar - filled, '-') + "]";
  }
  line += tail;
  if (static_cast<int>(line.size()) > width) line.resize(std::max(0, width));
  return line;
}

Progress::Progress(std::string label, uint64_t files_total, uint64_t bytes_total, bool enabled,
                   std::FILE* out)
    : label_(std::move(label)), files_total_(files_total), bytes_total_(bytes_total),
      enabled_(enabled), out_(out), start_(std::chrono::steady_clock::now()), last_(start_) {
  if (enabled_) ticker_ = std::thread([this] { tick(); });
}

Progress::~Progress() { finish(); }

bool Progress::wanted(bool quiet) { return !quiet && platform::stderr_is_terminal(); }

void Progress::advance(uint64_t files, uint64_t bytes) {
  std::lock_guard lock(mutex_);
  files_ += files;
  bytes_ += bytes;
  if (!enabled_) return;
  if (drawn_ && std::chrono::steady_clock::now() - last_ < std::chrono::milliseconds(100)) return;
  draw();
}

void Progress::tick() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    if (wake_.wait_for(lock, std::chrono::milliseconds(250), [this] { return stopping_; })) break;
    if (std::chrono::steady_clock::now() - last_ >= std::chrono::milliseconds(250)) draw();
  }
}

void Progress::draw() {
  const auto now = std::chrono::steady_clock::now();
  const double seconds = std::chrono::duration<double>(now - start_).count();
  std::fprintf(out_, "\r%s", progress_line(label_, files_, files_total_, bytes_, bytes_total_, seconds, 79).c_str());
  std::fflush(out_);
  last_ = now;
  drawn_ = true;
}

void Progress::finish() {
  if (ticker_.joinable()) {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    ticker_.join();
  }
  std::lock_guard lock(mutex_);
  if (!enabled_) return;
  if (drawn_) {
    std::fprintf(out_, "\r%79s\r", "");
    std::fflush(out_);
  }
  drawn_ = false;
  enabled_ = false;
}

}  // namespace qvin
