// What a directory holds and whether a path exists, for tests, read with
// the C library and never with the code under test. Any thread, and forked
// children.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The names in `directory` that begin with `prefix`, sorted, "." and ".."
// left out; empty when it cannot be read.
std::vector<std::string> directory_names(const std::string& directory,
                                         const std::string& prefix = std::string());
// The names joined, each followed by `separator`.
std::string joined_names(const std::vector<std::string>& names, const std::string& separator);
// Whether anything (a dangling link included) is at `path`.
bool exists(const std::string& path);
// The modification time of `path` (a link's own) in whole seconds; -1 when
// missing.
int64_t modification_seconds(const std::string& path);
// The type and permission bits of `path` (a link's own); 0 when missing.
uint32_t mode_of(const std::string& path);
