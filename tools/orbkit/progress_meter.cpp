#include "progress_meter.h"

#include <unistd.h>

#include <cstdio>

ProgressMeter::ProgressMeter(std::string label)
    : m_label(std::move(label)),
      m_terminal(isatty(STDERR_FILENO) == 1),
      m_start(Clock::now()),
      m_last(m_start) {}

ProgressMeter::~ProgressMeter() {
  if (m_shown) std::fputc('\n', stderr);
}

void ProgressMeter::update(uint64_t done, uint64_t total) {
  if (!m_terminal) return;
  const Clock::time_point now = Clock::now();
  if (now - m_start < std::chrono::seconds(1) || now - m_last < std::chrono::milliseconds(250)) {
    return;
  }
  m_last = now;
  m_shown = true;
  const unsigned percent = total == 0 ? 100 : static_cast<unsigned>(done * 100 / total);
  std::fprintf(stderr, "\r%s: %3u%% (%llu of %llu MiB)", m_label.c_str(), percent,
               static_cast<unsigned long long>(done >> 20),
               static_cast<unsigned long long>(total >> 20));
  std::fflush(stderr);
}
