// The kit reader: reads a kit's product records and file catalogue from the
// head of its decompressing stream, validates them, and writes single
// entries out. Entries asked for in the order of their data are taken
// straight from the stream while it decompresses ahead on a thread of its
// own; the first entry asked for out of that order has the whole kit
// decompressed into a temporary container, which then serves every copy.
// No lock of its own: one thread at a time (the dialog before and after an
// installation, the install worker during it). The kit is read only from
// the file `open` opened, which stays open until `close`: a kit replaced on
// disk afterwards never mixes its bytes with the catalogue read before.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kit/entry_name.h"
#include "kit/inflate_pipe.h"
#include "kit/kit_digest.h"
#include "kit/piecewise_check.h"
#include "kit/record_cursor.h"
#include "platform/file_system.h"
#include "platform/win32_types.h"
#include "text/wide_string.h"

namespace config {

// One product record: the texts shown for one interface language.
struct ProductInfo {
  WideString lang;
  WideString title;
  WideString vendor;
  WideString readme;
};

// One catalogue entry. After a successful open, `offset` is the absolute
// position of the entry's first byte in the container.
template <class FS>
struct FileData {
  WideString name;
  _FILETIME time{0, 0};
  uint32_t offset = 0;
  uint32_t size = 0;
};

template <class Compressor, class FS>
class InstallData {
 public:
  InstallData();
  // Closes the kit and the container and deletes the temporary file.
  ~InstallData();
  InstallData(const InstallData&) = delete;
  InstallData& operator=(const InstallData&) = delete;

  // Opens the kit, starts decompressing it and reads its products and
  // catalogue. Returns 0, the code of the failing step, or
  // ERROR_INVALID_DATA (13) for a kit whose head is damaged or unsafe; on
  // failure the products and the catalogue are empty and nothing is left
  // open. Whatever was open before is closed first.
  uint32_t open(const WideString& kitPath);
  // The same for a kit held in memory: the `size` bytes at `data`, which the
  // caller keeps until close. The stream then runs without a thread of its
  // own, decompressing as it is read.
  uint32_t openBytes(const uint8_t* data, size_t size);
  // Stops the stream, closes the kit and the container, deletes the
  // temporary file and forgets the products, the catalogue and the size;
  // `tempFile` keeps its text.
  void close();

  uint32_t count() const { return static_cast<uint32_t>(files.size()); }
  // The caller keeps `index` below count().
  // A catalogue entry, as get fills it.
  using Entry = FileData<FS>;
  void get(uint32_t index, FileData<FS>& entry) const { entry = files[index]; }
  // Writes entry `index` into a new file `destination` with the entry's
  // last-write time. Returns 0 or the failing step's code; 13 when the kit's
  // data is damaged or ends before the entry does.
  uint32_t copy(uint32_t index, const WideString& destination);
  // Called between the blocks of a copy, a pass-over or a check with the
  // bytes of the entry's own data done so far (0 while other data is passed
  // over); returning false stops the work with ERROR_CANCELLED.
  using BlockObserver = std::function<bool(uint64_t entryBytes)>;
  // Writes entry `index` into `output`, a new, empty file open for writing
  // that stays the caller's: the data, then the entry's last-write time.
  // Returns as copy, or 1223 when `observer` stopped it.
  uint32_t copyTo(uint32_t index, HANDLE output, const BlockObserver& observer = nullptr) {
    return writeEntry(index, output, false, observer);
  }
  // Reads the stream on to the end of entry `index`'s data when it has not
  // yet passed it, so that a reader who will not copy it keeps the stream
  // moving (and finds damage early). Returns 0, 13 for a damaged kit, a
  // read error's code, or 1223 when `observer` stopped it.
  uint32_t passOver(uint32_t index, const BlockObserver& observer = nullptr);
  // Reads the kit's data on through to its end (from its start when the
  // stream has been used up), checking that it decompresses and holds every
  // entry. Returns 0, 13 for a damaged kit, a read error's code, or 1223
  // when `observer` stopped it. Copies stream from the start of the kit
  // again afterwards.
  uint32_t verify(const BlockObserver& observer = nullptr);
  // Reads the whole kit through once more on a stream of its own, leaving
  // this object as it is, so that another thread may check the kit while
  // this one answers the const calls (titles, products). Returns as verify,
  // or ERROR_CANCELLED once `stop` is set; `read` counts the kit's bytes
  // read. Kits opened from a file only.
  // With `digest`, the whole file is hashed on the way and its digest set.
  uint32_t checkSeparately(const std::atomic<bool>& stop, std::atomic<uint64_t>& read,
                           KitDigestValue* digest = nullptr) const {
    if (kit == INVALID_HANDLE_VALUE) return ERROR_INVALID_HANDLE;
    return compressor.checkStream(kit, dataEnd, stop, read, digest);
  }
  // Reads the whole kit once more, as checkSeparately does but without
  // decompressing it, into its BLAKE2b-512 `digest`; with `bytes`, keeps
  // them there, up to `keepLimit` (else ERROR_NOT_ENOUGH_MEMORY). Returns 0,
  // a read error's code or ERROR_CANCELLED.
  uint32_t digestSeparately(const std::atomic<bool>& stop, std::atomic<uint64_t>& read,
                            KitDigestValue& digest, std::vector<uint8_t>* bytes,
                            uint64_t keepLimit) const {
    if (kit == INVALID_HANDLE_VALUE) return ERROR_INVALID_HANDLE;
    return compressor.digestFile(kit, stop, read, digest, bytes, keepLimit);
  }
  // Set before open: every read of the kit from its first byte (the stream,
  // an unpacking) is hashed, so that it can be held to an expected digest.
  void setDigesting(bool on) { digesting = on; }
  // From now on, every read of the kit that the copies use must find the
  // bytes whose digest is `digest`: verify, and a copy that unpacks the kit,
  // fail with ERROR_INVALID_IMAGE_HASH (577) when they do not. Needs
  // digesting set before open; kits opened from a file only.
  void expectDigest(const KitDigestValue& digest) {
    expectedDigest = digest;
    digestExpected = true;
  }
  // The open kit's size in bytes, as its descriptor told it at open; 0 when
  // none is open.
  uint64_t kitFileSize() const { return kitSize; }
  // After a failure of open, a copy, passOver or verify: the file whose
  // opening, reading or writing failed, the kit or its unpacked copy in the
  // temporary directory (the directory itself when no copy could be made
  // there), or the kit when its data is damaged; empty when writing the
  // caller's file failed, on a cancel, or when nothing has failed.
  const std::string& failedPath() const { return failedFile; }

  // Title and vendor of the first product for `lang` (case-insensitive);
  // both empty when there is none.
  void getTitles(const WideString& lang, WideString& title, WideString& vendor) const;
  // The readme of the product for `lang`, else the English product's readme,
  // else empty.
  WideString getReadme(const WideString& lang) const;
  // Every product record, in container order.
  const std::vector<ProductInfo>& getProducts() const { return products; }

  // Creates a new empty file with the prefix "kpt" in the temporary
  // directory.
  uint32_t getTempFile(WideString& path) const;

 private:
  // Starts the stream from the kit's first byte.
  uint32_t startStream();
  // Reads the products and the catalogue from a stream just started;
  // returns as open.
  uint32_t readHead();
  // Throws ERROR_INVALID_DATA for `count` records of at least `minimumSize`
  // bytes each that the rest of the container cannot hold, or whose
  // in-memory form (`memoryEach` bytes at least) would exceed kMaxHeadMemory.
  void checkRecordCount(uint64_t count, uint64_t minimumSize, uint64_t memoryEach);
  // Counts `bytes` more of the head's memory; throws past kMaxHeadMemory.
  void countHeadMemory(uint64_t bytes);
  // Hands the next `byteCount` bytes of the stream to `use(data, size)`
  // piece by piece; `use` returns 0 to go on. Returns 0, the code of `use`
  // or of the stream, or ERROR_INVALID_DATA when the stream ends first.
  template <class Use>
  uint32_t takeFromStream(uint64_t byteCount, Use use);
  // Reads exactly `byteCount` bytes of the stream; throws what
  // takeFromStream returns.
  void readExactly(void* target, uint32_t byteCount);
  // Reads exactly `byteCount` bytes of the stream into `block`; throws as
  // readExactly.
  void readBlock(uint32_t byteCount, std::vector<uint8_t>& block);
  // Passes over `byteCount` bytes of the stream; throws as readExactly.
  void skipExactly(uint64_t byteCount);
  uint32_t readNumber();
  // Reads a record of `recordSize` bytes, its size word already read, into
  // `block`: the bytes its fields can use, the rest passed over.
  void readRecord(uint32_t recordSize, uint64_t minimumSize, std::vector<uint8_t>& block);
  void readProducts();
  void readSingleProduct();
  void readCatalogue();
  // Writes entry `index` into `output` from its current position, ends the
  // file there when `truncate` (it may have been longer), then sets the
  // entry's time.
  uint32_t writeEntry(uint32_t index, HANDLE output, bool truncate, const BlockObserver& observer);
  // Writes `entry` from the stream, which has not yet passed its first byte.
  uint32_t copyFromStream(const FileData<FS>& entry, HANDLE output, const BlockObserver& observer);
  // Writes `entry` from the temporary container.
  uint32_t copyFromContainer(const FileData<FS>& entry, HANDLE output,
                             const BlockObserver& observer);
  // Passes the stream over to `end`, telling `observer` how far past
  // `entryStart` it has come; returns as takeFromStream, or 1223.
  uint32_t passStreamTo(uint64_t end, uint64_t entryStart, const BlockObserver& observer);
  // Decompresses the whole kit into a new temporary container and opens it,
  // once; the stream is no longer needed then.
  uint32_t openContainer();
  // Closes the container and deletes the temporary file.
  void dropContainer();
  // Stops the stream and ends its read of the kit: the rest of the file is
  // hashed, and the digest compared with the one expected. Returns 0,
  // ERROR_INVALID_IMAGE_HASH for other bytes, or a read error's code.
  uint32_t endStreamRead();
  // Compares the digest of a whole read of the kit with the one expected.
  uint32_t checkReadDigest(KitDigest& digest);

  std::vector<ProductInfo> products;
  std::vector<FileData<FS>> files;
  // The kit file opened by `open`; every read of the kit goes to it. A kit
  // opened in memory is at `kitBytes` instead.
  HANDLE kit;
  const uint8_t* kitBytes = nullptr;
  uint64_t kitSize = 0;
  // The container's bytes in order, from the start of the kit.
  std::unique_ptr<InflatePipe> stream;
  WideString tempFile;
  // The temporary container.
  HANDLE handle;
  Compressor compressor;
  uint32_t bufferSize;
  std::unique_ptr<uint8_t[]> buffer;
  // The kit's path as opened (empty for a kit in memory), and what
  // failedPath returns.
  std::string kitPath;
  std::string failedFile;
  // Where the data of the entry ending last ends in the container.
  uint64_t dataEnd = 0;
  // Memory the products and the catalogue read so far take.
  uint64_t headMemory = 0;
  // Whether `tempFile` names a container this object made and has not yet
  // deleted; a second deletion could hit another file of the same name.
  bool tempFileCreated = false;
  // Whether reads of the kit are hashed; the hash of the stream's read
  // (written by its thread until it stops); the digest every read must find.
  bool digesting = false;
  std::shared_ptr<KitDigest> streamDigest;
  bool digestExpected = false;
  KitDigestValue expectedDigest{};
};

}  // namespace config

#include "kit/install_data_impl.h"
