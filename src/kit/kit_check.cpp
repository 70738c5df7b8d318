#include "kit/kit_check.h"

#include <algorithm>
#include <system_error>

KitCheck::~KitCheck() {
  m_stop = true;
  if (m_thread.joinable()) m_thread.join();
}

void KitCheck::start(Body body, uint64_t kitSize) {
  m_body = std::move(body);
  m_kitSize = kitSize;
  try {
    m_thread = std::thread([this] { run(); });
  } catch (const std::system_error&) {
    // wait() runs the check instead.
  }
}

void KitCheck::run() {
  m_result = m_body(m_stop, m_read);
  m_finished = true;
}

int32_t KitCheck::progress() const {
  if (m_finished) return 100;
  if (m_kitSize == 0) return 0;
  return static_cast<int32_t>(std::min<uint64_t>(m_read, m_kitSize) * 100 / m_kitSize);
}

uint32_t KitCheck::wait() {
  if (m_thread.joinable()) {
    m_thread.join();
  } else if (m_body && !m_finished) {
    run();
  }
  return m_result;
}
