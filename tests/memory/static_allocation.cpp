#include "static_allocation.h"

#include "memory/memory.h"

namespace {

struct EarlyTable {
  // The strings are longer than any small-string buffer, so each one allocates.
  EarlyTable()
      : entries{std::string(40, 'a'), std::string(50, 'b'), std::string(60, 'c')},
        manager(nuke::memory_manager()) {}
  std::vector<std::string> entries;
  nuke::IMemoryManager* manager;
};

const EarlyTable g_earlyTable;

}  // namespace

const std::vector<std::string>& early_table() { return g_earlyTable.entries; }
nuke::IMemoryManager* manager_after_early_table() { return g_earlyTable.manager; }
