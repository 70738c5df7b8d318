// Decompression of a kit file: one raw deflate stream (no header, 32 KiB
// window) turned into the uncompressed container, written whole to a file or
// streamed to a reader. Stateless; any thread, any number of calls at once.
#pragma once

#include <fcntl.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "kit/inflate_pipe.h"
#include "kit/kit_digest.h"
#include "kit/kit_file_reader.h"
#include "kit/kit_mapping.h"
#include "kit/piecewise_check.h"
#include "kit/raw_inflater.h"
#include "platform/file_system.h"
#include "platform/last_error.h"
#include "platform/win32_types.h"
#include "text/wide_string.h"

// Size of one block of decompressed output handed to the destination file.
// A large block lets zlib's fast path run longer between writes: unpacking
// takes about 12% less processor time than with 32 KiB blocks.
constexpr uint32_t kBufferSize = 0x100000;
// Blocks of kBufferSize bytes that a stream decompresses ahead of its reader.
constexpr uint32_t kStreamBlockCount = 8;
// Blocks of kBufferSize bytes that a digest of a kit file reads ahead of its
// hashing.
constexpr uint32_t kDigestBlockCount = 4;
// The block of a stream from memory, decompressed as it is read: small, as
// such kits are small and their streams are made often.
constexpr uint32_t kMemoryStreamBlockSize = 0x10000;

// Receives the decompressed bytes block by block.
class InflateSink {
 public:
  virtual ~InflateSink() = default;
  // Returns 0 to go on, or an error code that stops the decompression.
  virtual uint32_t write(const uint8_t* data, uint32_t size) = 0;
};

// Inflates `size` bytes of raw deflate data into `sink` in blocks of at most
// kBufferSize bytes. Returns 0 when the stream ends, also when the input runs
// out before the end-of-stream marker (what was decoded counts as the
// result); ERROR_INVALID_DATA (13) for corrupt data; the sink's code when it
// refuses a block.
uint32_t inflate_raw(const uint8_t* data, size_t size, InflateSink& sink);
// The same from `inflater`, to the end of its stream.
uint32_t inflate_all(RawInflater& inflater, InflateSink& sink);
// A pipe whose producer is `inflater`, which it keeps alive (and with it the
// inflater's source) until the pipe has stopped.
std::unique_ptr<InflatePipe> inflate_pipe(std::shared_ptr<RawInflater> inflater, uint32_t blockSize,
                                          uint32_t blockCount, bool threaded);

// The decompressor over a Win32-style file interface `FS` (FileSystem in the
// program; tests pass wrappers that inject failures).
template <class FS>
class BasicLZCompressor {
 public:
  // Decompresses the whole kit file `source` into `destination` (created or
  // emptied). Returns 0, the code of a failing open or write (112 for a full
  // disk), or 13 for a corrupt stream.
  uint32_t unpack(const WideString& source, const WideString& destination) const;
  // The same from the open kit file `source`, mapped whole from its first
  // byte; the caller keeps `source` open and owns it. With `digest`, the kit
  // is read piece by piece instead, each piece hashed into `digest` before
  // it is decompressed, through to the end of the file.
  uint32_t unpack(HANDLE source, const WideString& destination,
                  const std::shared_ptr<KitDigest>& digest = nullptr) const;
  // Opens the kit file `source` and starts decompressing it as the form
  // below does. Returns 0 or the code of a failing open.
  uint32_t openStream(const WideString& source, std::unique_ptr<InflatePipe>& stream) const;
  // Starts decompressing the open kit file `source` from its first byte on a
  // thread of its own into `stream`, which hands out the container's bytes
  // in order. The stream reads a duplicate of the descriptor: the caller
  // keeps `source` and may close it while the stream runs. With `digest`,
  // every piece of the kit read is hashed into it, on the stream's thread.
  // Returns 0 or the code of a failing duplication.
  uint32_t openStream(HANDLE source, std::unique_ptr<InflatePipe>& stream,
                      std::shared_ptr<KitDigest> digest = nullptr) const;
  // Starts decompressing the `size` bytes at `data` (kept by the caller while
  // the stream lives) into `stream`, without a thread: each read of the
  // stream decompresses what it needs.
  void openStream(const uint8_t* data, size_t size, std::unique_ptr<InflatePipe>& stream) const;
  // Decompresses the open kit file `source` (through a duplicate of its
  // descriptor) from its first byte to the end of its stream, keeping
  // nothing: a check of the whole kit. Returns 0 when the stream ends
  // cleanly after at least `minimumLength` bytes, 13 when it is damaged or
  // shorter, ERROR_CANCELLED once `stop` is set, or a read error's code.
  // `read` counts the kit's bytes read so far. With `digest`, the whole file
  // (also what follows the stream) is hashed and its digest set there. Any
  // thread.
  uint32_t checkStream(HANDLE source, uint64_t minimumLength, const std::atomic<bool>& stop,
                       std::atomic<uint64_t>& read, KitDigestValue* digest = nullptr) const;
  // Checks the `size` bytes of the open kit file `source` in pieces on two
  // threads (piecewise_check.h); `goOn` is asked on the calling thread.
  PiecewiseVerdict checkInPieces(HANDLE source, uint64_t size,
                                 const std::function<bool()>& goOn) const {
    return check_in_pieces(
        [source](uint8_t* buffer, uint32_t count, uint64_t offset, uint32_t& got) {
          unsigned int bytesRead = 0;
          const uint32_t code = FS::ReadFileAt(source, buffer, count, offset, &bytesRead);
          got = bytesRead;
          return code;
        },
        size, goOn);
  }
  // Reads the open kit file `source` (through a duplicate of its descriptor)
  // from its first byte to its end without decompressing it, setting
  // `digest` to its BLAKE2b-512 digest and, with `bytes`, keeping the bytes
  // there: ERROR_NOT_ENOUGH_MEMORY beyond `keepLimit` of them. Returns 0,
  // ERROR_CANCELLED once `stop` is set, or a read error's code; `read` counts
  // the bytes read. Any thread.
  uint32_t digestFile(HANDLE source, const std::atomic<bool>& stop, std::atomic<uint64_t>& read,
                      KitDigestValue& digest, std::vector<uint8_t>* bytes,
                      uint64_t keepLimit) const;
  // Decompresses the `size` bytes at `data` into `destination`; returns as
  // unpack.
  uint32_t unpack(const uint8_t* data, size_t size, const WideString& destination) const;

  // This program never writes kits through the compressor: always 1.
  uint32_t pack(const WideString& source, const WideString& destination) const {
    (void)source;
    (void)destination;
    return 1;
  }

 private:
  // unpack through reads of `source` hashed into `digest`.
  uint32_t unpackRead(HANDLE source, const WideString& destination,
                      const std::shared_ptr<KitDigest>& digest) const;

  class FileSink : public InflateSink {
   public:
    explicit FileSink(HANDLE file) : m_file(file) {}
    uint32_t write(const uint8_t* data, uint32_t size) override {
      unsigned int written = 0;
      return FS::WriteFile(m_file, data, size, &written, nullptr);
    }

   private:
    HANDLE m_file;
  };
};

using LZCompressor = BasicLZCompressor<FileSystem>;

// Opens the kit file `source` for reading, hands its handle to `use` and
// closes it again; returns the code of the open or of `use`.
template <class FS, class Use>
uint32_t with_kit_file(const WideString& source, Use use) {
  HANDLE input = INVALID_HANDLE_VALUE;
  const uint32_t code = FS::CreateFile(source, GENERIC_READ, 0, OPEN_EXISTING, input);
  if (code != 0) return code;
  const uint32_t used = use(input);
  FS::CloseHandle(input);
  return used;
}

template <class FS>
uint32_t BasicLZCompressor<FS>::unpack(const WideString& source,
                                       const WideString& destination) const {
  return with_kit_file<FS>(source, [&](HANDLE input) { return unpack(input, destination); });
}

template <class FS>
uint32_t BasicLZCompressor<FS>::unpack(HANDLE source, const WideString& destination,
                                       const std::shared_ptr<KitDigest>& digest) const {
  if (digest != nullptr) return unpackRead(source, destination, digest);
  KitMapping mapping;
  const uint32_t code = mapping.map(source);
  if (code != 0) return code;
  return unpack(mapping.data(), mapping.size(), destination);
}

template <class FS>
uint32_t BasicLZCompressor<FS>::unpack(const uint8_t* data, size_t size,
                                       const WideString& destination) const {
  HANDLE output = INVALID_HANDLE_VALUE;
  uint32_t code = FS::CreateFile(destination, GENERIC_WRITE, 0, CREATE_ALWAYS, output);
  if (code != 0) return code;
  FileSink sink(output);
  code = inflate_raw(data, size, sink);
  // The destination may have existed with a longer content.
  if (code == 0) code = FS::SetEndOfFile(output);
  FS::CloseHandle(output);
  return code;
}

template <class FS>
uint32_t BasicLZCompressor<FS>::openStream(const WideString& source,
                                           std::unique_ptr<InflatePipe>& stream) const {
  return with_kit_file<FS>(source, [&](HANDLE input) { return openStream(input, stream); });
}

// A reader of the open kit file `source` through a duplicate of its
// descriptor, which the reader owns and closes: the caller keeps `source` and
// may close it meanwhile. The duplicate shares the file offset with `source`,
// which the reader's positioned reads leave alone. Null, with the code in
// `code`, when the descriptor cannot be duplicated.
template <class FS>
std::shared_ptr<KitFileReader> duplicate_kit_reader(HANDLE source, uint32_t& code,
                                                    std::shared_ptr<KitDigest> digest = nullptr) {
  // A handle carries the file descriptor.
  const int descriptor = static_cast<int>(reinterpret_cast<intptr_t>(source));
  const int duplicate = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
  code = duplicate < 0 ? translateErrNo(errno) : 0;
  if (duplicate < 0) return nullptr;
  return std::make_shared<KitFileReader>(
      reinterpret_cast<HANDLE>(static_cast<intptr_t>(duplicate)), &FS::ReadFileAt,
      [](HANDLE file) { FS::CloseHandle(file); }, std::move(digest));
}

template <class FS>
uint32_t BasicLZCompressor<FS>::unpackRead(HANDLE source, const WideString& destination,
                                           const std::shared_ptr<KitDigest>& digest) const {
  uint32_t code = 0;
  auto reader = duplicate_kit_reader<FS>(source, code, digest);
  if (reader == nullptr) return code;
  HANDLE output = INVALID_HANDLE_VALUE;
  code = FS::CreateFile(destination, GENERIC_WRITE, 0, CREATE_ALWAYS, output);
  if (code != 0) return code;
  RawInflater inflater(
      [&reader](const uint8_t*& data, size_t& size) { return reader->next(data, size); });
  FileSink sink(output);
  code = inflate_all(inflater, sink);
  if (code == 0) code = FS::SetEndOfFile(output);
  FS::CloseHandle(output);
  // The digest covers what follows the stream too.
  return code != 0 ? code : reader->readToEnd();
}

template <class FS>
uint32_t BasicLZCompressor<FS>::openStream(HANDLE source, std::unique_ptr<InflatePipe>& stream,
                                           std::shared_ptr<KitDigest> digest) const {
  // The kit is read, not mapped: it stays open for as long as the wizard
  // runs, and a read error of a kit that goes away is an error code where a
  // mapping would bring the process down.
  uint32_t code = 0;
  auto reader = duplicate_kit_reader<FS>(source, code, std::move(digest));
  if (reader == nullptr) return code;
  // The inflater's source owns the reader: both go when the pipe has
  // stopped its thread.
  stream = inflate_pipe(std::make_shared<RawInflater>([reader](const uint8_t*& data, size_t& size) {
                          return reader->next(data, size);
                        }),
                        kBufferSize, kStreamBlockCount, true);
  return 0;
}

template <class FS>
uint32_t BasicLZCompressor<FS>::checkStream(HANDLE source, uint64_t minimumLength,
                                            const std::atomic<bool>& stop,
                                            std::atomic<uint64_t>& read,
                                            KitDigestValue* digest) const {
  uint32_t code = 0;
  auto hash = digest != nullptr ? std::make_shared<KitDigest>() : nullptr;
  auto reader = duplicate_kit_reader<FS>(source, code, hash);
  if (reader == nullptr) return code;
  RawInflater inflater([&](const uint8_t*& data, size_t& size) {
    if (stop) return ERROR_CANCELLED;
    const uint32_t readCode = reader->next(data, size);
    read += size;
    return readCode;
  });
  // Counts the bytes and keeps none.
  struct LengthSink : InflateSink {
    uint64_t length = 0;
    uint32_t write(const uint8_t*, uint32_t size) override {
      length += size;
      return 0;
    }
  } sink;
  code = inflate_all(inflater, sink);
  if (code != 0) return code;
  if (sink.length < minimumLength) return ERROR_INVALID_DATA;
  if (hash == nullptr) return 0;
  code = reader->readToEnd(&stop, &read);
  if (code == 0) *digest = hash->finish();
  return code;
}

template <class FS>
uint32_t BasicLZCompressor<FS>::digestFile(HANDLE source, const std::atomic<bool>& stop,
                                           std::atomic<uint64_t>& read, KitDigestValue& digest,
                                           std::vector<uint8_t>* bytes, uint64_t keepLimit) const {
  uint32_t code = 0;
  auto reader = duplicate_kit_reader<FS>(source, code);
  if (reader == nullptr) return code;
  // Read ahead on the pipe's thread while this one hashes: the kit is
  // checked in the time of the hash alone.
  InflatePipe pipe(
      [reader](uint8_t* block, uint32_t capacity, uint32_t& produced, bool& ended) {
        const uint32_t readCode = reader->nextInto(block, capacity, produced);
        ended = produced == 0;
        return readCode;
      },
      kBufferSize, kDigestBlockCount);
  KitDigest hash;
  for (;;) {
    if (stop) return ERROR_CANCELLED;
    const uint8_t* data = nullptr;
    size_t size = 0;
    code = pipe.peek(data, size);
    if (code != 0) return code;
    if (size == 0) break;
    hash.update(data, size);
    read += size;
    if (bytes != nullptr) {
      if (bytes->size() + size > keepLimit) return ERROR_NOT_ENOUGH_MEMORY;
      bytes->insert(bytes->end(), data, data + size);
    }
    pipe.consume(size);
  }
  digest = hash.finish();
  return 0;
}

template <class FS>
void BasicLZCompressor<FS>::openStream(const uint8_t* data, size_t size,
                                       std::unique_ptr<InflatePipe>& stream) const {
  stream = inflate_pipe(std::make_shared<RawInflater>(memory_source(data, size)),
                        kMemoryStreamBlockSize, 1, false);
}
