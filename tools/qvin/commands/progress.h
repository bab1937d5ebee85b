// A one-line progress bar for long builds and extractions (files, bytes, rate, time).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

namespace qvin {

// The line drawn for a state: label, bar, files, bytes, rate and elapsed time, fitted
// to `width`. A total of 0 is unknown: that count is shown without it, and without
// any total there is no bar.
std::string progress_line(const std::string& label, uint64_t files_done, uint64_t files_total,
                          uint64_t bytes_done, uint64_t bytes_total, double seconds, int width);

// "1.2 MiB", "512 B"...: binary units (1 KiB = 1024 bytes).
std::string human_bytes(uint64_t bytes);

// Draws the bar on `out` while work proceeds; does nothing when disabled. Redraws at
// most ten times a second as work is reported, and on its own every quarter second so
// that the elapsed time moves during steps that report only when they end (the
// compression); clears its line when finished. `advance` may be called from any thread.
class Progress {
 public:
  Progress(std::string label, uint64_t files_total, uint64_t bytes_total, bool enabled,
           std::FILE* out = stderr);
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void advance(uint64_t files, uint64_t bytes);
  void finish();

  // True when a bar is wanted: not --quiet and standard error is a terminal.
  static bool wanted(bool quiet);

 private:
  void draw();  // with mutex_ held
  void tick();  // the redrawing thread

  std::string label_;
  uint64_t files_total_, bytes_total_, files_ = 0, bytes_ = 0;
  bool enabled_, drawn_ = false, stopping_ = false;
  std::FILE* out_;
  std::chrono::steady_clock::time_point start_, last_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::thread ticker_;
};

}  // namespace qvin
