// Whole-file reads and writes for tests, done with the C++ library and never
// with the code under test. Any thread, and forked children.
#pragma once

#include <string>

// Creates or truncates `path` and writes `content`; throws std::runtime_error
// when that fails.
void write_file(const std::string& path, const std::string& content);

// The whole content of `path`; "<missing>" when it cannot be opened, so that
// a missing file never passes for an empty one.
std::string read_file(const std::string& path);
