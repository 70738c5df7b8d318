// A one-word lock that spins with a graded back-off (pause, yield, sleep).
// Meant for very short critical sections such as a buffer pool's free list;
// any thread may lock and unlock it, the unlocking thread being the holder.
#pragma once

#include <atomic>
#include <cstdint>

namespace nuke {

class SpinMutex {
 public:
  SpinMutex() = default;
  SpinMutex(const SpinMutex&) = delete;
  SpinMutex& operator=(const SpinMutex&) = delete;

  void lock();
  void unlock();

 private:
  std::atomic<std::uint32_t> m_word{0};  // 0 free, 1 held
};

}  // namespace nuke
