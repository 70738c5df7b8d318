// Member definitions of config::InstallData; included by install_data.h only.
#pragma once

#include <algorithm>
#include <utility>

namespace config {

// Smallest possible records: the size word and four empty counted strings for
// a product; the size word, an empty name and four numbers for a file.
constexpr uint64_t kMinProductRecord = 4 + 4 * 4;
constexpr uint64_t kMinFileRecord = 4 + 4 + 4 * 4;
// Absolute entry positions are 32 bits wide, so the container ends at 4 GiB.
constexpr uint64_t kMaxPosition = 0xFFFFFFFFu;
constexpr uint64_t kMaxContainerSize = kMaxPosition + 1;
// A container is at most this many times as long as its kit (plus a little):
// at best, deflate codes a 258-byte match in two bits.
constexpr uint64_t kMaxInflateRatio = 1032;
// Memory the product records and the catalogue may take, counted as their
// in-memory records and texts; a kit whose head would take more is refused
// as damaged. About 350,000 entries with names of 60 characters fit.
constexpr uint64_t kMaxHeadMemory = uint64_t{64} << 20;
// Bytes of one record, or of one text of the single-product layout, that are
// read into memory. A field reaching further makes the kit damaged; the
// unused rest of a longer record is passed over.
constexpr uint32_t kMaxRecordBytes = 0x100000;
// A use of stream bytes that passes over them.
constexpr auto kPassOver = [](const uint8_t*, size_t) { return 0u; };

// The copy buffer is only needed for copies from an unpacked container; it is
// allocated by the first of them.
template <class Compressor, class FS>
InstallData<Compressor, FS>::InstallData()
    : kit(INVALID_HANDLE_VALUE), handle(INVALID_HANDLE_VALUE), bufferSize(0x100000) {}

template <class Compressor, class FS>
InstallData<Compressor, FS>::~InstallData() {
  close();
}

template <class Compressor, class FS>
void InstallData<Compressor, FS>::close() {
  stream.reset();
  dropContainer();
  if (kit != INVALID_HANDLE_VALUE) {
    FS::CloseHandle(kit);
    kit = INVALID_HANDLE_VALUE;
  }
  kitBytes = nullptr;
  kitSize = 0;
  dataEnd = 0;
  products.clear();
  files.clear();
}

template <class Compressor, class FS>
void InstallData<Compressor, FS>::dropContainer() {
  if (handle != INVALID_HANDLE_VALUE) {
    FS::CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
  }
  if (tempFileCreated) {
    FS::DeleteFile(tempFile);
    tempFileCreated = false;
  }
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::getTempFile(WideString& path) const {
  WideString directory;
  uint32_t code = FS::GetTempPath(directory);
  if (code != 0) return code;
  return FS::GetTempFileName(directory, u"kpt", path);
}

template <class Compressor, class FS>
template <class Use>
uint32_t InstallData<Compressor, FS>::takeFromStream(uint64_t byteCount, Use use) {
  while (byteCount != 0) {
    const uint8_t* data = nullptr;
    size_t available = 0;
    const uint32_t code = stream->peek(data, available);
    if (code != 0) {
      failedFile = kitPath;
      return code;
    }
    // The kit's data ends first.
    if (available == 0) return ERROR_INVALID_DATA;
    const size_t step = static_cast<size_t>(std::min<uint64_t>(available, byteCount));
    const uint32_t used = use(data, step);
    if (used != 0) return used;
    stream->consume(step);
    byteCount -= step;
  }
  return 0;
}

template <class Compressor, class FS>
void InstallData<Compressor, FS>::readExactly(void* target, uint32_t byteCount) {
  auto* bytes = static_cast<uint8_t*>(target);
  const uint32_t code = takeFromStream(byteCount, [&bytes](const uint8_t* data, size_t size) {
    bytes = std::copy(data, data + size, bytes);
    return 0u;
  });
  if (code != 0) throw code;
}

template <class Compressor, class FS>
void InstallData<Compressor, FS>::readBlock(uint32_t byteCount, std::vector<uint8_t>& block) {
  // Grown as the bytes arrive: a length the kit cannot fill costs no memory.
  block.clear();
  const uint32_t code = takeFromStream(byteCount, [&block](const uint8_t* data, size_t size) {
    block.insert(block.end(), data, data + size);
    return 0u;
  });
  if (code != 0) throw code;
}

template <class Compressor, class FS>
void InstallData<Compressor, FS>::skipExactly(uint64_t byteCount) {
  const uint32_t code = takeFromStream(byteCount, kPassOver);
  if (code != 0) throw code;
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::readNumber() {
  uint8_t bytes[4];
  readExactly(bytes, sizeof bytes);
  return read_le32(bytes);
}

template <class Compressor, class FS>
void InstallData<Compressor, FS>::readRecord(uint32_t recordSize, uint64_t minimumSize,
                                             std::vector<uint8_t>& block) {
  if (recordSize < minimumSize) throw ERROR_INVALID_DATA;
  const uint32_t kept = std::min(recordSize - 4, kMaxRecordBytes);
  readBlock(kept, block);
  skipExactly(recordSize - 4 - kept);
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::open(const WideString& path) {
  close();
  kitPath = narrow_lib(path);
  failedFile.clear();
  uint32_t code = FS::CreateFile(path, GENERIC_READ, 0, OPEN_EXISTING, kit);
  FileStatus status{};
  if (code == 0) code = FS::StatusAt(kit, std::string(), status);
  if (code != 0) {
    close();
    failedFile = kitPath;
    return code;
  }
  kitSize = static_cast<uint64_t>(status.st_size);
  return readHead();
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::openBytes(const uint8_t* data, size_t size) {
  close();
  kitPath.clear();
  failedFile.clear();
  kitBytes = data;
  kitSize = size;
  return readHead();
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::startStream() {
  if (kitBytes == nullptr) {
    streamDigest = digesting ? std::make_shared<KitDigest>() : nullptr;
    return compressor.openStream(kit, stream, streamDigest);
  }
  compressor.openStream(kitBytes, static_cast<size_t>(kitSize), stream);
  return 0;
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::readHead() {
  headMemory = 0;
  try {
    const uint32_t code = startStream();
    if (code != 0) throw code;
    if (readNumber() != 0) {
      readProducts();
    } else {
      readSingleProduct();
    }
    readCatalogue();
    return 0;
  } catch (uint32_t code) {
    // Only the kit is read here.
    failedFile = kitPath;
    close();
    return code;
  }
}

template <class Compressor, class FS>
void InstallData<Compressor, FS>::checkRecordCount(uint64_t count, uint64_t minimumSize,
                                                   uint64_t memoryEach) {
  const uint64_t longestContainer =
      std::min<uint64_t>(kitSize, uint64_t{1} << 48) * kMaxInflateRatio + kMaxInflateRatio;
  if (stream->position() + count * minimumSize > longestContainer ||
      headMemory + count * memoryEach > kMaxHeadMemory) {
    throw ERROR_INVALID_DATA;
  }
}

template <class Compressor, class FS>
void InstallData<Compressor, FS>::countHeadMemory(uint64_t bytes) {
  headMemory += bytes;
  if (headMemory > kMaxHeadMemory) throw ERROR_INVALID_DATA;
}

template <class Compressor, class FS>
void InstallData<Compressor, FS>::readProducts() {
  // Counts are not trusted for allocation: every record read needs its bytes
  // in the stream.
  const uint32_t productCount = readNumber();
  checkRecordCount(productCount, kMinProductRecord, sizeof(ProductInfo));
  std::vector<uint8_t> block;
  for (uint32_t i = 0; i < productCount; ++i) {
    readRecord(readNumber(), kMinProductRecord, block);
    RecordCursor record(block.data(), block.size());
    ProductInfo product;
    product.lang = record.text();
    product.title = record.text();
    product.vendor = record.text();
    product.readme = record.text();
    countHeadMemory(sizeof(ProductInfo) + (product.lang.size() + product.title.size() +
                                           product.vendor.size() + product.readme.size()) *
                                              sizeof(char16_t));
    products.push_back(std::move(product));
  }
}

template <class Compressor, class FS>
void InstallData<Compressor, FS>::readSingleProduct() {
  WideString texts[3];
  std::vector<uint8_t> block;
  for (WideString& text : texts) {
    const uint32_t units = readNumber();
    const uint64_t bytes = uint64_t{units} * 2;
    if (bytes > kMaxRecordBytes) throw ERROR_INVALID_DATA;
    readBlock(static_cast<uint32_t>(bytes), block);
    text = read_utf16le(block.data(), units);
  }
  products.push_back(ProductInfo{u"en", texts[0], texts[1], texts[2]});
}

template <class Compressor, class FS>
void InstallData<Compressor, FS>::readCatalogue() {
  files.clear();
  const uint32_t fileCount = readNumber();
  checkRecordCount(fileCount, kMinFileRecord, sizeof(FileData<FS>));
  // Within the ceiling now; reserved, not touched, so that growing the
  // catalogue never holds two copies of it.
  files.reserve(fileCount);
  std::vector<uint8_t> block;
  for (uint32_t i = 0; i < fileCount; ++i) {
    readRecord(readNumber(), kMinFileRecord, block);
    RecordCursor record(block.data(), block.size());
    FileData<FS> entry;
    entry.name = record.text();
    if (!is_safe_entry_name(entry.name)) throw ERROR_INVALID_DATA;
    countHeadMemory(sizeof(FileData<FS>) + entry.name.size() * sizeof(char16_t));
    entry.time.dwLowDateTime = record.number();
    entry.time.dwHighDateTime = record.number();
    entry.offset = record.number();
    entry.size = record.number();
    files.push_back(std::move(entry));
  }

  // Offsets count from the first byte after the catalogue. Whether the data
  // area really holds an entry shows when it is copied; its position must
  // fit in 32 bits and its end in a container of 4 GiB.
  const uint64_t dataStart = stream->position();
  dataEnd = dataStart;
  for (FileData<FS>& entry : files) {
    const uint64_t begin = dataStart + entry.offset;
    if (begin > kMaxPosition || begin + entry.size > kMaxContainerSize) {
      throw ERROR_INVALID_DATA;
    }
    entry.offset = static_cast<uint32_t>(begin);
    dataEnd = std::max(dataEnd, begin + entry.size);
  }
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::copy(uint32_t index, const WideString& destination) {
  failedFile.clear();
  HANDLE output = INVALID_HANDLE_VALUE;
  uint32_t code = FS::CreateFile(destination, GENERIC_WRITE, 0, CREATE_ALWAYS, output);
  if (code != 0) return code;
  code = writeEntry(index, output, true, nullptr);
  FS::CloseHandle(output);
  return code;
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::writeEntry(uint32_t index, HANDLE output, bool truncate,
                                                 const BlockObserver& observer) {
  const FileData<FS>& entry = files[index];
  uint32_t code = 0;
  failedFile.clear();
  // After a check of the whole kit, the stream starts again from the first
  // byte of the same file.
  if (handle == INVALID_HANDLE_VALUE && stream == nullptr) {
    code = startStream();
    if (code != 0) {
      failedFile = kitPath;
      return code;
    }
  }
  // The stream serves entries in the order of their data; an entry that
  // lies behind its position needs the container.
  const bool streamed =
      handle == INVALID_HANDLE_VALUE && stream != nullptr && entry.offset >= stream->position();
  code = streamed ? copyFromStream(entry, output, observer)
                  : copyFromContainer(entry, output, observer);
  if (code == 0 && truncate) code = FS::SetEndOfFile(output);
  if (code == 0) code = FS::SetFileTime(output, nullptr, nullptr, &entry.time);
  return code;
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::passOver(uint32_t index, const BlockObserver& observer) {
  const FileData<FS>& entry = files[index];
  failedFile.clear();
  if (handle != INVALID_HANDLE_VALUE || stream == nullptr) return 0;
  const uint64_t end = uint64_t{entry.offset} + entry.size;
  if (entry.offset < stream->position() || end <= stream->position()) return 0;
  return passStreamTo(end, entry.offset, observer);
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::passStreamTo(uint64_t end, uint64_t entryStart,
                                                   const BlockObserver& observer) {
  return takeFromStream(end - stream->position(), [&](const uint8_t*, size_t size) {
    const uint64_t reached = stream->position() + size;
    const bool goOn = !observer || observer(reached > entryStart ? reached - entryStart : 0);
    return goOn ? 0u : ERROR_CANCELLED;
  });
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::copyFromStream(const FileData<FS>& entry, HANDLE output,
                                                     const BlockObserver& observer) {
  const uint32_t code = passStreamTo(entry.offset, entry.offset, observer);
  if (code != 0) return code;
  uint64_t done = 0;
  return takeFromStream(entry.size, [&](const uint8_t* data, size_t size) {
    unsigned int written = 0;
    const uint32_t writeCode =
        FS::WriteFile(output, data, static_cast<uint32_t>(size), &written, nullptr);
    if (writeCode != 0) return writeCode;
    done += size;
    return !observer || observer(done) ? 0u : ERROR_CANCELLED;
  });
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::verify(const BlockObserver& observer) {
  failedFile.clear();
  if (handle != INVALID_HANDLE_VALUE) {
    // The container holds all there is.
    long high = 0;
    const uint32_t low = FS::SetFilePointer(handle, 0, &high, FILE_END);
    const uint64_t size = (static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32) | low;
    if (size >= dataEnd) return 0;
    failedFile = kitPath;
    return ERROR_INVALID_DATA;
  }
  uint32_t code = 0;
  // Most of the kit still to read and no digest to keep: it is checked in
  // pieces on two threads, where its sync points allow; the stream stops.
  if (kit != INVALID_HANDLE_VALUE && !digestExpected &&
      (stream == nullptr || stream->position() < dataEnd / 2)) {
    endStreamRead();
    const PiecewiseVerdict verdict =
        compressor.checkInPieces(kit, kitSize, [&observer] { return !observer || observer(0); });
    if (verdict.stopped) return ERROR_CANCELLED;
    if (verdict.decided) {
      if (verdict.length >= dataEnd) return 0;
      failedFile = kitPath;
      return ERROR_INVALID_DATA;
    }
  }
  if (stream == nullptr) code = startStream();
  // A clean end of the stream after the last entry's data: a sound kit.
  while (code == 0) {
    const uint8_t* data = nullptr;
    size_t available = 0;
    code = stream->peek(data, available);
    if (code != 0 || available == 0) break;
    stream->consume(available);
    if (observer && !observer(0)) code = ERROR_CANCELLED;
  }
  if (code == 0 && stream->position() < dataEnd) code = ERROR_INVALID_DATA;
  // What the copies were made from must be what was verified.
  if (code == 0) code = endStreamRead();
  if (code != 0 && code != ERROR_CANCELLED) failedFile = kitPath;
  stream.reset();
  return code;
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::endStreamRead() {
  stream.reset();
  const std::shared_ptr<KitDigest> digest = std::move(streamDigest);
  if (!digestExpected) return 0;
  // An unhashed read cannot be vouched for.
  if (digest == nullptr) return ERROR_INVALID_IMAGE_HASH;
  if (buffer == nullptr) buffer.reset(new uint8_t[bufferSize]);
  for (uint64_t offset = digest->bytes();;) {
    unsigned int got = 0;
    const uint32_t code = FS::ReadFileAt(kit, buffer.get(), bufferSize, offset, &got);
    if (code != 0) return code;
    if (got == 0) break;
    digest->update(buffer.get(), got);
    offset += got;
  }
  return checkReadDigest(*digest);
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::checkReadDigest(KitDigest& digest) {
  return digest.finish() == expectedDigest ? 0 : ERROR_INVALID_IMAGE_HASH;
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::openContainer() {
  if (handle != INVALID_HANDLE_VALUE) return 0;
  // The entries copied from the stream so far must be what was verified.
  uint32_t code = stream != nullptr ? endStreamRead() : 0;
  if (code != 0) {
    failedFile = kitPath;
    return code;
  }
  code = getTempFile(tempFile);
  if (code != 0) {
    // No file of its own there: the temporary directory is what failed.
    FS::GetTempPath(tempFile);
    failedFile = narrow_lib(tempFile);
    return code;
  }
  tempFileCreated = true;
  const auto digest = digesting && kitBytes == nullptr ? std::make_shared<KitDigest>() : nullptr;
  code = kitBytes == nullptr ? compressor.unpack(kit, tempFile, digest)
                             : compressor.unpack(kitBytes, static_cast<size_t>(kitSize), tempFile);
  if (code == 0 && digestExpected) {
    code = digest != nullptr ? checkReadDigest(*digest) : ERROR_INVALID_IMAGE_HASH;
    if (code != 0) failedFile = kitPath;
  }
  if (code == 0) {
    code = FS::CreateFile(tempFile, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING, handle);
  }
  // The kit stays open: a later copy streams it from the start again.
  if (code != 0) {
    if (code != ERROR_INVALID_DATA && code != ERROR_INVALID_IMAGE_HASH) {
      failedFile = narrow_lib(tempFile);
    }
    dropContainer();
  }
  return code;
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::copyFromContainer(const FileData<FS>& entry, HANDLE output,
                                                        const BlockObserver& observer) {
  uint32_t code = openContainer();
  if (code != 0) return code;
  // Always written before it is read: left uncleared.
  if (buffer == nullptr) buffer.reset(new uint8_t[bufferSize]);
  // The 64-bit form reaches entries at 2 GiB and beyond.
  long high = 0;
  const uint32_t low =
      FS::SetFilePointer(handle, static_cast<int32_t>(entry.offset), &high, FILE_BEGIN);
  if (low != entry.offset || high != 0) {
    failedFile = narrow_lib(tempFile);
    code = FS::GetLastError();
    return code != 0 ? code : ERROR_INVALID_PARAMETER;
  }
  uint32_t left = entry.size;
  while (left != 0) {
    const uint32_t wanted = std::min(left, bufferSize);
    unsigned int bytesRead = 0;
    if (FS::ReadFile(handle, buffer.get(), wanted, &bytesRead, nullptr) != 0) {
      failedFile = narrow_lib(tempFile);
      return FS::GetLastError();
    }
    unsigned int written = 0;
    if (bytesRead > 0) {
      code = FS::WriteFile(output, buffer.get(), bytesRead, &written, nullptr);
      if (code != 0) return code;
    }
    left -= bytesRead;
    // The container ended before the entry did.
    if (bytesRead < wanted) {
      failedFile = kitPath;
      return ERROR_INVALID_DATA;
    }
    if (observer && !observer(entry.size - left)) return ERROR_CANCELLED;
  }
  return 0;
}

template <class Compressor, class FS>
void InstallData<Compressor, FS>::getTitles(const WideString& lang, WideString& title,
                                            WideString& vendor) const {
  for (const ProductInfo& product : products) {
    if (compare_nocase(product.lang, lang) == 0) {
      title = product.title;
      vendor = product.vendor;
      return;
    }
  }
  title.clear();
  vendor.clear();
}

template <class Compressor, class FS>
WideString InstallData<Compressor, FS>::getReadme(const WideString& lang) const {
  for (const ProductInfo& product : products) {
    if (compare_nocase(product.lang, lang) == 0) {
      if (!product.readme.empty()) return product.readme;
      break;
    }
  }
  for (const ProductInfo& product : products) {
    if (compare_nocase(product.lang, u"en") == 0) return product.readme;
  }
  return WideString();
}

}  // namespace config
