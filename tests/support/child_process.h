// Runs a piece of a test in a forked child, for what must not touch the test
// process itself: a private mount namespace, another user id or fewer
// capabilities, resource limits, a private tmpfs. The child reports back with a text. Test thread only.
#pragma once

#include <functional>
#include <string>

// Runs `body` in a forked child and returns its text ("skip: ..." by convention
// when it could not set itself up), or "child ended abnormally, status N".
std::string run_in_child(const std::function<std::string()>& body);

// True for a report of run_in_child that starts with "skip: ".
bool is_skip_report(const std::string& report);

// Drops the child to the user "nobody", for permission failures the super-user
// never meets. Empty on success, else the reason.
std::string become_nobody();

// Drops the super-user's power to pass over file permissions (read, write and
// search checks, the owner's check), keeping the user id: the process then
// meets "permission denied" on a directory of mode 0555 as any user does.
// Empty on success, else the reason.
std::string drop_file_capabilities();

// Mounts a tmpfs with `sizeOption` ("size=64k") on `mountPoint`, made when missing,
// in a private mount namespace, for full-disk and cross-device cases. Super-user
// only. Empty on success, else the reason.
std::string mount_private_tmpfs(const std::string& mountPoint, const std::string& sizeOption);
