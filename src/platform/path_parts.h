// Splitting a narrow path into its parent directory and last component, for
// the operations that work relative to an open parent directory. Any thread.
#pragma once

#include <string>

struct PathParts {
  std::string parent;
  std::string base;
};

// Trailing slashes are dropped first: "a/b/" gives "a" and "b", "b" gives "."
// and "b", "/b" gives "/" and "b". "/" and "" give an empty last component.
PathParts splitPath(const std::string& path);
