// Optional report of the process's allocation figures: when the environment
// variable p8_print_memory_stat is set, the number of allocations, the peak of
// live bytes and what is still live are printed to stderr at exit.
// Started once by the thread that creates the memory manager.
#pragma once

#include "memory/memory_heap.h"

namespace nuke {

// Turns on the manager's statistics and installs counting hooks when the
// report is wanted; does nothing otherwise.
void start_memory_stat_report_if_requested(IMemoryManager* manager);

}  // namespace nuke
