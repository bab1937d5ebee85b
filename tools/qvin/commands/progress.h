// A one-line progress bar for long builds and extractions (files, bytes, rate).
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace qvin {

// The line drawn for a state: label, bar, files, bytes and rate, fitted to `width`.
std::string progress_line(const std::string& label, uint64_t files_done, uint64_t files_total,
                          uint64_t bytes_done, uint64_t bytes_total, double seconds, int width);

// "1.2 MB", "512 B"...
std::string human_bytes(uint64_t bytes);

// Draws the bar on `out` while work proceeds; does nothing when disabled. Redraws at
// most ten times a second and clears its line when finished.
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
  void draw();

  std::string label_;
  uint64_t files_total_, bytes_total_, files_ = 0, bytes_ = 0;
  bool enabled_, drawn_ = false;
  std::FILE* out_;
  std::chrono::steady_clock::time_point start_, last_;
};

}  // namespace qvin
