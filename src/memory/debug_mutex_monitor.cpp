#include "memory/debug_mutex_monitor.h"

#include <uthash.h>

#include <cstdio>
#include <cstdlib>

namespace nuke {

bool DebugMutexMonitor::s_use = false;
pthread_key_t DebugMutexMonitor::s_slot;

namespace {

// One entry of a thread's table of monitors held shared.
struct ReaderRecord {
  const DebugMutexMonitor* monitor;
  UT_hash_handle hh;
};

ReaderRecord* thread_readers() {
  return static_cast<ReaderRecord*>(pthread_getspecific(DebugMutexMonitor::s_slot));
}

ReaderRecord* find_reader(const DebugMutexMonitor* monitor) {
  ReaderRecord* table = thread_readers();
  ReaderRecord* record = nullptr;
  HASH_FIND_PTR(table, &monitor, record);
  return record;
}

void delete_thread_key() { pthread_key_delete(DebugMutexMonitor::s_slot); }

}  // namespace

void start_mutex_monitors() {
  static bool started = false;
  if (started) return;
  started = true;
  DebugMutexMonitor::s_use = DebugMutexMonitor::useMonitors();
  pthread_key_create(&DebugMutexMonitor::s_slot, nullptr);
  std::atexit(delete_thread_key);
}

DebugMutexMonitor::~DebugMutexMonitor() {
  const char* reason = nullptr;
  if (m_readers.load() != 0) {
    reason = "readers present";
  } else if (m_writer.load() != 0) {
    reason = "writer present";
  }
  if (reason != nullptr) {
    std::fprintf(stderr, "mutex monitor destroyed while held: %s\n", reason);
    std::terminate();
  }
}

void DebugMutexMonitor::lock(void* mutex, LockFunction lockFunction) {
  const pthread_t self = pthread_self();
  if (m_writer.load() == self) raiseError(RecursiveLock);
  if (hasThreadReader()) raiseError(ReaderStateError);
  lockFunction(mutex);
  if (m_readers.load() != 0) raiseError(ReadersPresent);
  pthread_t expected = 0;
  if (!m_writer.compare_exchange_strong(expected, self)) raiseError(WriterPresent);
}

void DebugMutexMonitor::unlock(void* mutex, LockFunction unlockFunction) {
  if (hasThreadReader()) raiseError(ReaderStateError);
  if (m_readers.load() != 0) raiseError(ReadersPresent);
  pthread_t expected = pthread_self();
  if (!m_writer.compare_exchange_strong(expected, 0)) raiseError(NotOwner);
  unlockFunction(mutex);
}

void DebugMutexMonitor::lockShared(void* mutex, LockFunction lockFunction) {
  if (m_writer.load() == pthread_self()) raiseError(RecursiveLock);
  if (hasThreadReader()) raiseError(ReaderStateError);
  lockFunction(mutex);
  if (m_writer.load() != 0) raiseError(WriterPresent);
  m_readers.fetch_add(1);
  setThreadReader();
}

void DebugMutexMonitor::unlockShared(void* mutex, LockFunction unlockFunction) {
  if (m_writer.load() != 0) raiseError(WriterPresent);
  if (!hasThreadReader()) raiseError(ReaderStateError);
  m_readers.fetch_sub(1);
  clearThreadReader();
  unlockFunction(mutex);
}

bool DebugMutexMonitor::useMonitors() { return std::getenv("p8_use_mutex_monitor") != nullptr; }

bool DebugMutexMonitor::hasThreadReader() const { return find_reader(this) != nullptr; }

void DebugMutexMonitor::setThreadReader() {
  if (hasThreadReader()) raiseError(ReaderStateError);
  auto* record = static_cast<ReaderRecord*>(std::calloc(1, sizeof(ReaderRecord)));
  if (record == nullptr) std::exit(-1);
  record->monitor = this;
  ReaderRecord* table = thread_readers();
  HASH_ADD_PTR(table, monitor, record);
  pthread_setspecific(s_slot, table);
}

void DebugMutexMonitor::clearThreadReader() {
  ReaderRecord* record = find_reader(this);
  if (record == nullptr) return;
  ReaderRecord* table = thread_readers();
  HASH_DEL(table, record);
  std::free(record);
  // uthash frees its bookkeeping together with the last entry.
  pthread_setspecific(s_slot, table);
}

void DebugMutexMonitor::raiseError(Error) { throw DebugMonitorException(); }

IMutexMonitor* create_mutex_monitor(void*, unsigned int) {
  if (!DebugMutexMonitor::s_use) return nullptr;
  return new DebugMutexMonitor();
}

void delete_mutex_monitor(IMutexMonitor* monitor) { delete monitor; }

}  // namespace nuke
