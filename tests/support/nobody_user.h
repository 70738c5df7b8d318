// Drops a forked child (see child_process.h) to the unprivileged user
// "nobody", for permission failures that the super-user never meets. Never
// call it in the test process.
#pragma once

#include <string>

// Switches group list, group and user to those of "nobody". Empty on
// success, else the reason (no such user, or not allowed to switch).
std::string become_nobody();
