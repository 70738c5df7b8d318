// Opening what someone else may have put where the program looks: registry
// entries, journals, backup roots, the log. Nothing is followed through a
// link or waited on (a pipe, a device): the descriptor is checked before a
// byte is read, and reads stop at a bound. Any thread.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>

// 0 when `status` is a regular file (`directory`: a directory) of the
// effective user that neither group nor others may write; 222 when it is
// another kind of file; 1307 when it is someone else's or writable by
// others.
uint32_t check_owned(const struct stat& status, bool directory);

// Reads the whole file `name` of the directory `directoryFd` (AT_FDCWD for
// a path) when check_owned accepts it and it holds at most `bound` bytes:
// 0; 2 when it is missing; 223 when it is larger; check_owned's code, or
// the translated errno of a failing open or read.
uint32_t read_owned_file(int directoryFd, const std::string& name, uint64_t bound,
                         std::string& bytes);

// Opens `path` for appending without following a link at its last
// component and without waiting on a pipe, creating it with `mode` when it
// is missing: the descriptor, or -1 with errno set (EINVAL for anything but
// a regular file).
int open_regular_for_append(const std::string& path, mode_t mode);
