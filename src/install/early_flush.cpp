// Definitions of EarlyFlush (early_flush.h).
#include "install/early_flush.h"

void EarlyFlush::begin(std::function<void()> flush) {
  end();
  m_flush = std::move(flush);
  m_unflushed = 0;
}

void EarlyFlush::wrote(uint64_t bytes) {
  if (!m_flush) return;
  m_unflushed += bytes;
  if (m_unflushed < m_step) return;
  m_unflushed = 0;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_wanted = true;
  }
  if (!m_thread.joinable()) {
    m_thread = std::thread([this] { serve(); });
  } else {
    m_wake.notify_one();
  }
}

void EarlyFlush::end() {
  if (m_thread.joinable()) {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_ending = true;
    }
    m_wake.notify_one();
    m_thread.join();
  }
  m_flush = nullptr;
  m_wanted = false;
  m_ending = false;
}

void EarlyFlush::serve() {
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    m_wake.wait(lock, [this] { return m_wanted || m_ending; });
    if (!m_wanted) return;
    m_wanted = false;
    lock.unlock();
    m_flush();
    lock.lock();
  }
}
