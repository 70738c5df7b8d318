// A kit file mapped whole, read-only and private, so that its compressed
// stream can be handed to zlib in one piece. Owned by one thread at a time;
// the bytes may be read from any thread while the object lives.
#pragma once

#include <sys/mman.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>

#include "platform/file_system.h"
#include "platform/win32_types.h"
#include "text/wide_string.h"

class KitMapping {
 public:
  KitMapping() = default;
  ~KitMapping() { release(); }
  KitMapping(const KitMapping&) = delete;
  KitMapping& operator=(const KitMapping&) = delete;

  // Maps the open file `file` whole; the caller keeps it, and its file
  // offset does not move. An empty file maps to no bytes. Returns 0 or the
  // code of the failing step.
  uint32_t map(HANDLE file);

  const uint8_t* data() const { return m_data; }
  size_t size() const { return m_size; }

 private:
  void release() {
    if (m_data != nullptr) munmap(const_cast<uint8_t*>(m_data), m_size);
    m_data = nullptr;
    m_size = 0;
  }

  const uint8_t* m_data = nullptr;
  size_t m_size = 0;
};

inline uint32_t KitMapping::map(HANDLE file) {
  release();
  // A handle carries the file descriptor.
  const int descriptor = static_cast<int>(reinterpret_cast<intptr_t>(file));
  struct stat64 status;
  if (fstat64(descriptor, &status) != 0) return setLastErrorByErrNo(errno);
  const uint64_t length = static_cast<uint64_t>(status.st_size);
  if (length > SIZE_MAX) return ERROR_INVALID_DATA;
  if (length == 0) return 0;
  void* mapping =
      mmap(nullptr, static_cast<size_t>(length), PROT_READ, MAP_PRIVATE, descriptor, 0);
  if (mapping == MAP_FAILED) return setLastErrorByErrNo(errno);
  madvise(mapping, static_cast<size_t>(length), MADV_SEQUENTIAL);
  m_data = static_cast<const uint8_t*>(mapping);
  m_size = static_cast<size_t>(length);
  return 0;
}
