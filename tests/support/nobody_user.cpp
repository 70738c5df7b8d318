#include "support/nobody_user.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

std::string become_nobody() {
  const passwd* const nobody = getpwnam("nobody");
  if (nobody == nullptr) return "no user nobody";
  if (setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0) {
    return "cannot switch to nobody (not root)";
  }
  return std::string();
}
