// The one split of a path into its parent directory and last component,
// for every operation that works relative to a parent (open it, then act on
// the name) or walks up a path. Narrow paths, "/" the only separator. Any
// thread.
#pragma once

#include <string>

struct PathParts {
  std::string parent;
  std::string base;
};

// Trailing slashes are dropped first, and so are the slashes between the
// parent and the last component: "a/b/" and "a//b" give "a" and "b"; a bare
// name "b" gives "." and "b"; "/b" gives "/" and "b". "/" and "" give
// themselves as the parent and an empty last component. The parts are never
// interpreted: "..", "." and backslashes are ordinary text, and a relative
// path keeps a relative parent ("x/y" gives "x").
PathParts splitPath(const std::string& path);
