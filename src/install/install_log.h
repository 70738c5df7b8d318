// The installation log an administrator asks for with -G: one line per
// event, "TIME EVENT TEXT", appended to a file with one write each. Any
// thread may write; a log that cannot be opened or written is reported once
// on stderr and never fails the installation.
#pragma once

#include <mutex>
#include <string>

class InstallLog {
 public:
  InstallLog() = default;
  ~InstallLog();
  InstallLog(const InstallLog&) = delete;
  InstallLog& operator=(const InstallLog&) = delete;

  // Opens `path` for appending, never through a link at its last component
  // and never waiting on a pipe, mode 0600 when created; anything but a
  // regular file (a pipe, a device, a directory) is refused. False on
  // failure, which is reported once on stderr ("setup: cannot write the log
  // PATH: reason", in the current resource language); every write is then
  // a no-op.
  bool open(const std::string& path);
  bool isOpen() const;
  // Appends "YYYY-MM-DDTHH:MM:SS+ZZZZ EVENT TEXT\n" (local time) with one
  // write(2); a backslash inside `text` is written as "\\" and a
  // newline as "\n", so that a line reads back as its text. The first failing
  // write is reported on stderr and closes the log.
  void write(const char* event, const std::string& text);

 private:
  // Reports `reason` (an errno value) once and closes the log.
  void reportFailure(int reason);

  mutable std::mutex m_lock;
  int m_descriptor = -1;
  std::string m_path;
  bool m_reported = false;
};
