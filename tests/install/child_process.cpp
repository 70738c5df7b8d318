#include "install/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

std::string run_in_child(const std::function<std::string()>& body) {
  int channel[2];
  if (pipe(channel) != 0) return "pipe failed";
  const pid_t child = fork();
  if (child < 0) return "fork failed";
  if (child == 0) {
    close(channel[0]);
    const std::string result = body();
    ssize_t written = write(channel[1], result.data(), result.size());
    (void)written;
    _exit(0);
  }
  close(channel[1]);
  std::string result;
  char buffer[512];
  ssize_t got;
  while ((got = read(channel[0], buffer, sizeof buffer)) > 0) {
    result.append(buffer, static_cast<size_t>(got));
  }
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return "child ended abnormally, status " + std::to_string(status);
  }
  return result;
}
