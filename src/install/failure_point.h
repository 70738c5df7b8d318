// Where a step of an installation run failed and why, kept beside the code
// the step returns: the code that names the reason (more precise than the
// returned one where callers expect a general code, such as 1921 for a link
// where 3 is returned) and the path, relative to the target for what lies
// in it, absolute for anything else. Plain data of the install worker.
#pragma once

#include <cstdint>
#include <string>

struct FailurePoint {
  uint32_t reason = 0;
  std::string path;
};
