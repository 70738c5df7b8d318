#include "install/install_log.h"

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "platform/last_error.h"
#include "platform/owned_file.h"
#include "platform/win32_types.h"
#include "platform/write_all.h"
#include "text/failure_text.h"
#include "text/languages.h"

InstallLog::~InstallLog() {
  if (m_descriptor != -1) ::close(m_descriptor);
}

bool InstallLog::open(const std::string& path) {
  std::lock_guard<std::mutex> guard(m_lock);
  if (m_descriptor != -1) ::close(m_descriptor);
  m_path = path;
  m_reported = false;
  m_descriptor = open_regular_for_append(path, 0600);
  if (m_descriptor == -1) reportFailure(errno);
  return m_descriptor != -1;
}

bool InstallLog::isOpen() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_descriptor != -1;
}

void InstallLog::write(const char* event, const std::string& text) {
  std::lock_guard<std::mutex> guard(m_lock);
  if (m_descriptor == -1) return;
  char stamp[40] = "";
  const time_t now = time(nullptr);
  struct tm local {};
  if (localtime_r(&now, &local) != nullptr)
    strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S%z", &local);
  std::string line = std::string(stamp) + " " + event + " ";
  line.reserve(line.size() + text.size() + 1);
  // A backslash is doubled, so that "\n" in a line always stands for a
  // newline of the text and every line reads back as the text it was.
  for (const char c : text) {
    if (c == '\n') {
      line += "\\n";
    } else if (c == '\\') {
      line += "\\\\";
    } else {
      line += c;
    }
  }
  line += '\n';
  // O_APPEND puts the whole line at the end, after other writers' lines.
  if (!write_all(m_descriptor, line.data(), line.size())) reportFailure(errno);
}

void InstallLog::reportFailure(int reason) {
  if (m_descriptor != -1) ::close(m_descriptor);
  m_descriptor = -1;
  if (m_reported) return;
  m_reported = true;
  // In the interface language and the locale's character set, as the
  // other messages on stderr. A pipe (ENXIO without a reader), a device or
  // a directory at the path is refused when opened.
  const bool special = reason == EINVAL || reason == ENXIO;
  const std::string message =
      "setup: " +
      narrow_lib(LoadResString("IDS_LOG_UNWRITABLE") + u" " + widen_lib(m_path) + u": " +
                 failure_reason(special ? ERROR_BAD_FILE_TYPE : translateErrNo(reason))) +
      "\n";
  write_all(STDERR_FILENO, message.data(), message.size());
}
