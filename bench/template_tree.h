// A deterministic generator of template trees that look like what a kit
// carries: XML forms, property files and JSON documents that reuse their own
// keys, some binary blobs, two to four directory levels and log-normal file
// sizes. The same seed always gives the same tree. One thread.
#pragma once

#include <cstdint>
#include <string>

struct TreeShape {
  uint64_t seed = 1;
  uint32_t files = 20000;
  // Wanted total size; sizes are scaled so that the tree comes close to it.
  uint64_t totalBytes = 600ull << 20;
};

// Writes the tree below `root` (created if needed). Returns an error text,
// empty on success; `written` receives the bytes written.
std::string generate_template_tree(const std::string& root, const TreeShape& shape,
                                   uint64_t& written);
