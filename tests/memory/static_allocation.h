// A table built by a static initialiser in another translation unit, the way
// the program's language tables are, to show that the memory manager serves
// allocations made before main in whatever order initialisers run.
#pragma once

#include <string>
#include <vector>

#include "memory/memory_heap.h"

const std::vector<std::string>& early_table();
nuke::IMemoryManager* manager_after_early_table();
