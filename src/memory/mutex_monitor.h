// Run-time checker that can be wrapped around any exclusive or shared mutex:
// every lock and unlock goes through the monitor, which calls the real lock
// function and checks the rules of use around it. Monitors are used by any
// thread; create them only through create_mutex_monitor.
#pragma once

namespace nuke {

class IMutexMonitor {
 public:
  using LockFunction = void (*)(void* mutex);

  virtual ~IMutexMonitor() = default;
  virtual void lock(void* mutex, LockFunction lockFunction) = 0;
  virtual void unlock(void* mutex, LockFunction unlockFunction) = 0;
  virtual void lockShared(void* mutex, LockFunction lockFunction) = 0;
  virtual void unlockShared(void* mutex, LockFunction unlockFunction) = 0;
};

// The start-up of the monitors: reads whether they are wanted (environment
// variable p8_use_mutex_monitor) and creates the key of the threads' tables.
// The memory manager calls it as it is made, at the first allocation before
// main, so that every program that allocates through it has it; later calls
// do nothing.
void start_mutex_monitors();

// Null unless monitors are wanted (environment variable p8_use_mutex_monitor
// set); both arguments are ignored.
IMutexMonitor* create_mutex_monitor(void* mutex, unsigned int kind);

// Destroys a monitor from create_mutex_monitor; null is ignored.
void delete_mutex_monitor(IMutexMonitor* monitor);

}  // namespace nuke
