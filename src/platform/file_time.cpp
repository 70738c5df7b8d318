// Conversions between _FILETIME ticks (100 ns since 1601) and seconds since
// 1970. Both use 64-bit arithmetic, so times after 2038 survive.
#include "platform/file_system.h"

namespace {

constexpr uint64_t kTicksPerSecond = 10000000;
constexpr uint64_t kSecondsFrom1601To1970 = 11644473600;

}  // namespace

long FileTimeToEpoch(const _FILETIME& fileTime) {
  const uint64_t ticks =
      (static_cast<uint64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
  return static_cast<long>(ticks / kTicksPerSecond) - static_cast<long>(kSecondsFrom1601To1970);
}

_FILETIME EpochToFileTime(const long& seconds) {
  // Unsigned arithmetic: a time before 1601 or beyond the tick range wraps
  // instead of overflowing.
  const uint64_t ticks =
      (static_cast<uint64_t>(seconds) + kSecondsFrom1601To1970) * kTicksPerSecond;
  return _FILETIME{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
}
