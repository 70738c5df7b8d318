#include "support/child_process.h"

#include <grp.h>
#include <linux/capability.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

std::string run_in_child(const std::function<std::string()>& body) {
  int channel[2];
  if (pipe(channel) != 0) return "pipe failed";
  // Buffered output would otherwise be written twice.
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    const std::string report = body();
    FILE* const out = fdopen(channel[1], "w");
    const bool sent = std::fwrite(report.data(), 1, report.size(), out) == report.size();
    _exit(std::fclose(out) == 0 && sent ? 0 : 1);
  }
  close(channel[1]);
  FILE* const in = fdopen(channel[0], "r");
  std::string report;
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
    report.append(buffer, got);
  std::fclose(in);
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return "fork or waitpid failed";
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

std::string drop_file_capabilities() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2]{};
  if (syscall(SYS_capget, &header, data) != 0) return std::string("capget: ") + std::strerror(errno);
  for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
    data[capability / 32].effective &= ~(1u << (capability % 32));
  }
  if (syscall(SYS_capset, &header, data) != 0) return std::string("capset: ") + std::strerror(errno);
  return std::string();
}

std::string mount_private_tmpfs(const std::string& mountPoint, const std::string& sizeOption) {
  if (unshare(CLONE_NEWNS) != 0) return std::string("unshare: ") + std::strerror(errno);
  // Without this the mount would show in the parent's namespace too.
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    return std::string("private mounts: ") + std::strerror(errno);
  }
  if (mkdir(mountPoint.c_str(), 0755) != 0 && errno != EEXIST) {
    return "mkdir " + mountPoint + ": " + std::strerror(errno);
  }
  if (mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, sizeOption.c_str()) != 0) {
    return std::string("mount tmpfs: ") + std::strerror(errno);
  }
  return std::string();
}
