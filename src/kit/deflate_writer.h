// Compresses bytes into one raw deflate stream (no header, 32 KiB window)
// written to an open file descriptor, with bounded memory. After every
// kSyncInterval bytes of input the stream is fully flushed: a sync point from
// which the rest decodes without what came before, so that a reader may check
// the stream in pieces on several threads. Used by the kit writer, tests and
// tools; one thread per writer.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <memory>
#include <string>

// Input bytes between two sync points.
constexpr size_t kSyncInterval = 1 << 20;

class DeflateWriter {
 public:
  // `level` is zlib's 0 (store) to 9 (smallest).
  DeflateWriter(int descriptor, int level);
  ~DeflateWriter();
  DeflateWriter(const DeflateWriter&) = delete;
  DeflateWriter& operator=(const DeflateWriter&) = delete;

  // Each returns an error text, empty on success.
  std::string write(const void* data, size_t size);
  // Ends the stream; nothing may be written afterwards.
  std::string finish();

 private:
  std::string run(int flush);

  int m_descriptor;
  // Input taken since the last sync point.
  size_t m_sinceSync = 0;
  z_stream m_stream{};
  bool m_ready = false;
  std::unique_ptr<unsigned char[]> m_output;
};

// Writes `data` as one raw deflate stream into the file `path` (created or
// truncated); returns an error text, empty on success.
std::string deflate_to_file(const std::string& data, const std::string& path, int level);
