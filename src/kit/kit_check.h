// A check of the whole kit running on a thread of its own while the wizard
// shows its first pages: its progress and result can be read at any time.
// Started, read and waited for by one thread (the dialog's); where no thread
// can be started, the check runs when it is waited for.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

class KitCheck {
 public:
  // Checks a kit of `kitSize` bytes; sets `read` to the bytes read so far
  // and returns 0 for a sound kit, else the failure's code. Ends early when
  // `stop` is set.
  using Body = std::function<uint32_t(const std::atomic<bool>& stop, std::atomic<uint64_t>& read)>;

  KitCheck() = default;
  // Stops a check still running and waits for its thread.
  ~KitCheck();
  KitCheck(const KitCheck&) = delete;
  KitCheck& operator=(const KitCheck&) = delete;

  void start(Body body, uint64_t kitSize);
  bool started() const { return static_cast<bool>(m_body); }
  bool finished() const { return m_finished; }
  // The check's result once it has finished.
  uint32_t result() const { return m_result; }
  // Percent of the kit read, 0 to 100.
  int32_t progress() const;
  // Waits for the end of the check and returns its result.
  uint32_t wait();

 private:
  void run();

  Body m_body;
  uint64_t m_kitSize = 0;
  std::atomic<bool> m_stop{false};
  std::atomic<uint64_t> m_read{0};
  std::atomic<bool> m_finished{false};
  std::atomic<uint32_t> m_result{0};
  std::thread m_thread;
};
