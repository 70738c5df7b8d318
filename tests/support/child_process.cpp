#include "support/child_process.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

std::string run_in_child(const std::function<std::string()>& body) {
  int channel[2];
  if (pipe(channel) != 0) return "pipe failed";
  // Buffered output would otherwise be written twice.
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) {
    close(channel[0]);
    close(channel[1]);
    return "fork failed";
  }
  if (child == 0) {
    close(channel[0]);
    const std::string report = body();
    size_t written = 0;
    while (written < report.size()) {
      const ssize_t put = write(channel[1], report.data() + written, report.size() - written);
      if (put <= 0) _exit(1);
      written += static_cast<size_t>(put);
    }
    _exit(0);
  }
  close(channel[1]);
  std::string report;
  char buffer[4096];
  ssize_t got;
  while ((got = read(channel[0], buffer, sizeof buffer)) != 0) {
    if (got < 0) {
      if (errno == EINTR) continue;
      break;
    }
    report.append(buffer, static_cast<size_t>(got));
  }
  close(channel[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return "child ended abnormally, waitpid failed";
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return "child ended abnormally, status " + std::to_string(status);
  }
  return report;
}

bool is_skip_report(const std::string& report) { return report.rfind("skip: ", 0) == 0; }

std::string become_nobody() {
  const passwd* const nobody = getpwnam("nobody");
  if (nobody == nullptr) return "no user nobody";
  if (setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0) {
    return "cannot switch to nobody (not root)";
  }
  return std::string();
}
