#include "install/install_thread.h"

#include <chrono>
#include <utility>

InstallThread::~InstallThread() { join(); }

int InstallThread::start(Worker worker) {
  join();
  m_stop = false;
  m_finished = false;
  m_worker = std::move(worker);
  m_startResult = -1;
  pthread_attr_t attributes;
  const int attributeResult = pthread_attr_init(&attributes);
  if (attributeResult != 0) return attributeResult;
  m_startResult = pthread_create(&m_thread, &attributes, &InstallThread::thread_func, this);
  pthread_attr_destroy(&attributes);
  m_joinable = m_startResult == 0;
  return m_startResult;
}

void InstallThread::stop() { m_stop = true; }

bool InstallThread::finished() const { return m_finished; }

bool InstallThread::waitFinished(int milliseconds) {
  std::unique_lock<std::mutex> lock(m_endMutex);
  return m_ended.wait_for(lock, std::chrono::milliseconds(milliseconds),
                          [this] { return m_finished.load(); });
}

void InstallThread::join() {
  if (!m_joinable) return;
  pthread_join(m_thread, nullptr);
  m_joinable = false;
}

void* InstallThread::thread_func(void* self) {
  auto* thread = static_cast<InstallThread*>(self);
  while (!thread->m_stop) {
    if (!thread->m_worker()) break;
  }
  {
    std::lock_guard<std::mutex> lock(thread->m_endMutex);
    thread->m_finished = true;
  }
  thread->m_ended.notify_all();
  return nullptr;
}
