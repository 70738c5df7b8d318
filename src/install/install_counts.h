// What an installation run did with the kit's entries, for the summary and
// the log's last line: files created, replaced and left as they were, and
// the bytes written (in a dry run: what would be). Plain data.
#pragma once

#include <cstdint>

struct InstallCounts {
  uint64_t created = 0;
  uint64_t replaced = 0;
  uint64_t unchanged = 0;
  uint64_t bytesWritten = 0;
};
