// Sequential reading of an open kit file in pieces, from its first byte, as
// the compressed input of a stream. It reads with the system directly and
// never touches the file layer's last-error cell, so that the decompressing
// thread leaves the installer's error codes alone. Reads are positioned:
// the reader keeps its own position and never moves the file offset that
// duplicates of the descriptor share. One thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/win32_types.h"

class KitFileReader {
 public:
  // Takes over `file`; `close` is called with it on destruction.
  KitFileReader(HANDLE file, std::function<void(HANDLE)> close);
  ~KitFileReader();
  KitFileReader(const KitFileReader&) = delete;
  KitFileReader& operator=(const KitFileReader&) = delete;

  // The next piece of the file: 0 with `data` and `size` set (`size` 0 at
  // the end), or the Win32 code of a read error.
  uint32_t next(const uint8_t*& data, size_t& size);

 private:
  HANDLE m_file;
  std::function<void(HANDLE)> m_close;
  // Where the next piece starts in the file.
  uint64_t m_position = 0;
  std::unique_ptr<uint8_t[]> m_buffer;
};
