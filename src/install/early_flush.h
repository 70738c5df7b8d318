// Pushes what a run has written so far to the disk on a thread of its own
// while the run goes on writing, so that the disk works during the copy and
// the commit's flush waits only for the rest. Fed and ended by one thread
// (the install worker); its own thread only calls the flush it was given.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

class EarlyFlush {
 public:
  // Bytes written between two flushes: a few flushes for a large kit, none
  // for a small one.
  static constexpr uint64_t kDefaultStep = 64 << 20;

  EarlyFlush() = default;
  ~EarlyFlush() { end(); }
  EarlyFlush(const EarlyFlush&) = delete;
  EarlyFlush& operator=(const EarlyFlush&) = delete;

  // Bytes written between two flushes, for the next begin.
  void setStep(uint64_t bytes) { m_step = bytes; }
  // Starts counting for a run whose flush is `flush`: its outcome does not
  // count, as the commit's own flush still reports every failure.
  void begin(std::function<void()> flush);
  // Counts `bytes` more written. Each time another step is complete, a flush
  // is asked for (on a thread started the first time); those asked for
  // while one runs make one more after it.
  void wrote(uint64_t bytes);
  // Lets the flushes asked for run and ends the thread: none after it
  // returns, until the next begin.
  void end();

 private:
  void serve();

  uint64_t m_step = kDefaultStep;
  uint64_t m_unflushed = 0;
  std::function<void()> m_flush;
  std::thread m_thread;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  // Guarded by m_mutex: a flush asked for and not yet begun; the end.
  bool m_wanted = false;
  bool m_ending = false;
};
