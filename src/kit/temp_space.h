// The check made before a kit is opened: the temporary directory, where an
// unpacked copy of the kit may be made, must have room for several times the
// kit's size. Any thread.
#pragma once

#include <cstdint>

#include "text/wide_string.h"

// The temporary directory must hold this many times the kit's size.
constexpr uint64_t kSpaceReg = 3;
// What the 32-bit free-space query reports for any amount it cannot express.
constexpr uint64_t kFreeSpaceBeyond32Bits = 0xFFFFFFFFu;

// False only when the kit at `kitPath` and the temporary directory's free
// space are both known and the space is short of kSpaceReg times the kit's
// (64-bit) size. A free space too large for 32 bits counts as enough; a
// check that cannot be made is passed.
template <class FS>
bool temp_space_suffices(const WideString& kitPath) {
  uint64_t kitSize = 0;
  unsigned int freeBytes = 0;
  if (FS::GetFileSize(kitPath, &kitSize) != 0 || FS::GetFreeSpaceTmpDir(&freeBytes) != 0) {
    return true;
  }
  return freeBytes == kFreeSpaceBeyond32Bits || kitSize <= freeBytes / kSpaceReg;
}
