// Runs a piece of a test in a forked child, for what must not touch the test
// process itself: a private mount namespace, another user id, resource
// limits, a private tmpfs. The child reports back with a text. Test thread only; what the
// child may do to itself, never in the test process.
#pragma once

#include <functional>
#include <string>

// Runs `body` in a forked child and returns the text it returned. By
// convention a text starting with "skip: " means the child could not set
// itself up. A child that does not end normally gives "child ended
// abnormally, status N".
std::string run_in_child(const std::function<std::string()>& body);

// True for a report of run_in_child that starts with "skip: ".
bool is_skip_report(const std::string& report);

// Drops the child to the unprivileged user "nobody" (group list, group,
// user), for permission failures the super-user never meets. Empty on
// success, else the reason.
std::string become_nobody();

// Enters a private mount namespace and mounts a tmpfs with `sizeOption` (for
// example "size=64k") on `mountPoint`, made when missing, for full-disk and
// cross-device cases. Super-user only. Empty on success, else the reason.
std::string mount_private_tmpfs(const std::string& mountPoint, const std::string& sizeOption);
