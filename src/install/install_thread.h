// The worker thread of one installation: it calls the owner's worker routine
// until the routine returns false or a stop is requested, then ends. The
// owner (the dialog, on the main thread) starts it, may ask whether it has
// ended and waits for it with join(); the destructor also waits, so the
// process never ends while the worker is still rolling back.
#pragma once

#include <pthread.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

class InstallThread {
 public:
  // The worker routine; returning false ends the thread.
  using Worker = std::function<bool()>;

  InstallThread() = default;
  ~InstallThread();
  InstallThread(const InstallThread&) = delete;
  InstallThread& operator=(const InstallThread&) = delete;

  // Clears the stop flag and starts the thread. Returns 0, or the error
  // number of pthread_attr_init or pthread_create (no thread then runs). A
  // thread of an earlier start is waited for first.
  int start(Worker worker);
  // Asks the thread not to call the worker routine again; a call in progress
  // runs to its end.
  void stop();
  // True once a started thread has left its loop (also before join()).
  bool finished() const;
  // Waits until the thread has left its loop or `milliseconds` have passed;
  // returns finished().
  bool waitFinished(int milliseconds);
  // Waits for a started thread to end; returns at once when none runs.
  void join();

 private:
  static void* thread_func(void* self);

  Worker m_worker;
  std::atomic<bool> m_stop{false};
  pthread_t m_thread{};
  // -1 before a start, then pthread_create's result.
  int m_startResult = -1;
  std::atomic<bool> m_finished{false};
  // Told when the thread leaves its loop.
  std::mutex m_endMutex;
  std::condition_variable m_ended;
  bool m_joinable = false;
};
