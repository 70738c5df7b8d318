// Shows the progress of a long run on a terminal: one line on standard
// error, rewritten at most a few times a second, only once the run has
// lasted a second and only when standard error is a terminal. Main thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

class ProgressMeter {
 public:
  explicit ProgressMeter(std::string label);
  // Ends the line if anything was shown.
  ~ProgressMeter();
  ProgressMeter(const ProgressMeter&) = delete;
  ProgressMeter& operator=(const ProgressMeter&) = delete;

  void update(uint64_t done, uint64_t total);

 private:
  using Clock = std::chrono::steady_clock;
  std::string m_label;
  bool m_terminal;
  bool m_shown = false;
  Clock::time_point m_start;
  Clock::time_point m_last;
};
