#include "platform/file_replacement.h"

#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr char kMark[] = ".orbtmp-";
constexpr size_t kMarkLength = sizeof kMark - 1;
constexpr size_t kNameBytesKept = 64;
constexpr size_t kUniqueDigits = 8;

// The process id that `name` carries after its mark; 0 when it is no
// temporary's name.
long temporary_owner(const std::string& name) {
  const size_t mark = name.rfind(kMark);
  if (name.empty() || name[0] != '.' || mark == std::string::npos || mark == 0) return 0;
  const size_t digits = mark + kMarkLength;
  const size_t dash = name.find('-', digits);
  if (dash == std::string::npos || dash == digits || dash - digits > 10 ||
      name.size() - dash - 1 != kUniqueDigits) {
    return 0;
  }
  const std::string owner = name.substr(digits, dash - digits);
  const std::string unique = name.substr(dash + 1);
  if (owner.find_first_not_of("0123456789") != std::string::npos ||
      unique.find_first_not_of("0123456789abcdef") != std::string::npos) {
    return 0;
  }
  const long pid = std::strtol(owner.c_str(), nullptr, 10);
  return pid > 0 && pid <= INT_MAX ? pid : 0;
}

}  // namespace

std::string replacementTemporaryName(const std::string& name) {
  static std::atomic<unsigned> counter{0};
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const unsigned unique = static_cast<unsigned>(now.tv_nsec) ^ (counter.fetch_add(1) << 20);
  char tail[48];
  std::snprintf(tail, sizeof tail, "%s%ld-%08x", kMark, static_cast<long>(getpid()), unique);
  return "." + name.substr(0, kNameBytesKept) + tail;
}

bool isReplacementLeftover(const std::string& name) {
  const long owner = temporary_owner(name);
  // A process that exists but is another user's answers EPERM: it runs.
  return owner != 0 && kill(static_cast<pid_t>(owner), 0) != 0 && errno == ESRCH;
}
