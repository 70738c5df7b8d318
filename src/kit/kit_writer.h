// Writes a kit file: the container head followed by every entry's bytes,
// streamed from the source files through one raw deflate stream, so memory
// stays bounded whatever the kit's size. Used by the kit tool, tests and
// benchmarks, never by the installer; one thread per call.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "kit/kit_layout.h"

// Called after each block of entry data with the bytes done and the total.
using KitProgress = std::function<void(uint64_t done, uint64_t total)>;

// Writes `layout` into the kit file `kitPath` at compression `level` (0-9).
// Returns an error text, empty on success; a failed kit file is removed.
std::string write_kit(const KitLayout& layout, const std::string& kitPath, int level,
                      const KitProgress& progress);
