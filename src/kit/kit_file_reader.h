// Sequential reading of an open kit file in pieces, from its first byte, as
// the compressed input of a stream, through the file layer's positioned read
// (which never touches the last-error cell, so that the decompressing thread
// leaves the installer's error codes alone). The reader keeps its own
// position and never moves the file offset that duplicates of the descriptor
// share. One thread at a time.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "kit/kit_digest.h"
#include "platform/win32_types.h"

class KitFileReader {
 public:
  // The file layer's positioned read: 0 and the count read, or a Win32 code.
  using ReadAt = uint32_t (*)(HANDLE file, void* buffer, uint32_t count, uint64_t offset,
                              unsigned int* bytesRead);
  // Takes over `file`; `close` is called with it on destruction. With
  // `digest`, every piece read is hashed into it.
  KitFileReader(HANDLE file, ReadAt read, std::function<void(HANDLE)> close,
                std::shared_ptr<KitDigest> digest = nullptr);
  ~KitFileReader();
  KitFileReader(const KitFileReader&) = delete;
  KitFileReader& operator=(const KitFileReader&) = delete;

  // The next piece of the file: 0 with `data` and `size` set (`size` 0 at
  // the end), or the Win32 code of a read error.
  uint32_t next(const uint8_t*& data, size_t& size);
  // The same into `buffer`, at most `capacity` bytes, setting `size`.
  uint32_t nextInto(uint8_t* buffer, uint32_t capacity, uint32_t& size);
  // Reads the rest of the file (hashing it), stopping early once `stop` is
  // set (then ERROR_CANCELLED); adds the bytes to `read`. Returns 0 or the
  // code of a read error.
  uint32_t readToEnd(const std::atomic<bool>* stop = nullptr,
                     std::atomic<uint64_t>* read = nullptr);

 private:
  HANDLE m_file;
  ReadAt m_read;
  std::function<void(HANDLE)> m_close;
  // Where the next piece starts in the file.
  uint64_t m_position = 0;
  std::unique_ptr<uint8_t[]> m_buffer;
  std::shared_ptr<KitDigest> m_digest;
};
