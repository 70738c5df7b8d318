// Member definitions of config::InstallData; included by install_data.h only.
#pragma once

#include <algorithm>
#include <utility>

namespace config {

// Smallest possible records: the size word and four empty counted strings for
// a product; the size word, an empty name and four numbers for a file.
constexpr uint64_t kMinProductRecord = 4 + 4 * 4;
constexpr uint64_t kMinFileRecord = 4 + 4 + 4 * 4;
// Absolute entry positions are 32 bits wide.
constexpr uint64_t kMaxPosition = 0xFFFFFFFFu;

// The copy buffer is always written before it is read, so it is left
// uncleared: its pages are only touched by the copies that need them.
template <class Compressor, class FS>
InstallData<Compressor, FS>::InstallData()
    : handle(INVALID_HANDLE_VALUE), bufferSize(0x100000), buffer(new uint8_t[bufferSize]) {}

template <class Compressor, class FS>
InstallData<Compressor, FS>::~InstallData() {
  close();
}

template <class Compressor, class FS>
void InstallData<Compressor, FS>::close() {
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
void InstallData<Compressor, FS>::readFile(HANDLE file, void* target, uint32_t byteCount,
                                           unsigned int* bytesRead) const {
  if (FS::ReadFile(file, target, byteCount, bytesRead, nullptr) != 0) throw FS::GetLastError();
}

template <class Compressor, class FS>
void InstallData<Compressor, FS>::readExactly(void* target, uint32_t byteCount) {
  if (byteCount > remaining()) throw ERROR_INVALID_DATA;
  unsigned int bytesRead = 0;
  readFile(handle, target, byteCount, &bytesRead);
  if (bytesRead != byteCount) throw ERROR_INVALID_DATA;
  position += byteCount;
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::readNumber() {
  uint8_t bytes[4];
  readExactly(bytes, sizeof bytes);
  return read_le32(bytes);
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::open(const WideString& kitPath) {
  close();
  try {
    uint32_t code = getTempFile(tempFile);
    if (code != 0) throw code;
    tempFileCreated = true;
    code = compressor.unpack(kitPath, tempFile);
    if (code != 0) throw code;
    code = FS::CreateFile(tempFile, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING, handle);
    if (code != 0) throw code;

    long high = 0;
    const uint32_t low = FS::SetFilePointer(handle, 0, &high, FILE_END);
    if (low == INVALID_SET_FILE_POINTER && FS::GetLastError() != 0) throw FS::GetLastError();
    containerSize = (static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32) | low;
    if (FS::SetFilePointer(handle, 0, nullptr, FILE_BEGIN) != 0) throw ERROR_INVALID_DATA;
    position = 0;

    if (readNumber() != 0) {
      readProducts();
    } else {
      readSingleProduct();
    }
    readCatalogue();
    return 0;
  } catch (uint32_t code) {
    files.clear();
    close();
    return code;
  }
}

template <class Compressor, class FS>
void InstallData<Compressor, FS>::readProducts() {
  const uint32_t productCount = readNumber();
  if (productCount > remaining() / kMinProductRecord) throw ERROR_INVALID_DATA;
  std::vector<uint8_t> block;
  for (uint32_t i = 0; i < productCount; ++i) {
    const uint32_t recordSize = readNumber();
    if (recordSize < kMinProductRecord || recordSize - 4 > remaining()) throw ERROR_INVALID_DATA;
    block.resize(recordSize - 4);
    readExactly(block.data(), recordSize - 4);
    RecordCursor record(block.data(), block.size());
    ProductInfo product;
    product.lang = record.text();
    product.title = record.text();
    product.vendor = record.text();
    product.readme = record.text();
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
    if (bytes > remaining() || bytes > kMaxPosition) throw ERROR_INVALID_DATA;
    block.resize(static_cast<size_t>(bytes));
    readExactly(block.data(), static_cast<uint32_t>(bytes));
    text = read_utf16le(block.data(), units);
  }
  products.push_back(ProductInfo{u"en", texts[0], texts[1], texts[2]});
}

template <class Compressor, class FS>
void InstallData<Compressor, FS>::readCatalogue() {
  files.clear();
  const uint32_t fileCount = readNumber();
  if (fileCount > remaining() / kMinFileRecord) throw ERROR_INVALID_DATA;
  files.reserve(fileCount);
  std::vector<uint8_t> block;
  for (uint32_t i = 0; i < fileCount; ++i) {
    const uint32_t recordSize = readNumber();
    if (recordSize < kMinFileRecord || recordSize - 4 > remaining()) throw ERROR_INVALID_DATA;
    block.resize(recordSize - 4);
    readExactly(block.data(), recordSize - 4);
    RecordCursor record(block.data(), block.size());
    FileData<FS> entry;
    entry.name = record.text();
    if (!is_safe_entry_name(entry.name)) throw ERROR_INVALID_DATA;
    entry.time.dwLowDateTime = record.number();
    entry.time.dwHighDateTime = record.number();
    entry.offset = record.number();
    entry.size = record.number();
    files.push_back(std::move(entry));
  }

  // Offsets count from the first byte after the catalogue; every entry must
  // lie inside the data area, at a position that fits in 32 bits.
  const uint64_t dataStart = position;
  const uint64_t dataSize = containerSize - dataStart;
  for (FileData<FS>& entry : files) {
    if (uint64_t{entry.offset} + entry.size > dataSize) throw ERROR_INVALID_DATA;
    if (dataStart + entry.offset > kMaxPosition) throw ERROR_INVALID_DATA;
    entry.offset = static_cast<uint32_t>(dataStart + entry.offset);
  }
}

template <class Compressor, class FS>
uint32_t InstallData<Compressor, FS>::copy(uint32_t index, const WideString& destination) {
  const FileData<FS>& entry = files[index];
  HANDLE output = INVALID_HANDLE_VALUE;
  uint32_t code = FS::CreateFile(destination, GENERIC_WRITE, 0, CREATE_ALWAYS, output);
  if (code != 0) return code;

  // The 64-bit form reaches entries at 2 GiB and beyond.
  long high = 0;
  const uint32_t low =
      FS::SetFilePointer(handle, static_cast<int32_t>(entry.offset), &high, FILE_BEGIN);
  if (low != entry.offset || high != 0) {
    code = FS::GetLastError();
    FS::CloseHandle(output);
    return code != 0 ? code : ERROR_INVALID_PARAMETER;
  }

  uint32_t left = entry.size;
  while (left != 0 && code == 0) {
    const uint32_t wanted = std::min(left, bufferSize);
    unsigned int bytesRead = 0;
    if (FS::ReadFile(handle, buffer.get(), wanted, &bytesRead, nullptr) != 0) {
      code = FS::GetLastError();
      break;
    }
    unsigned int written = 0;
    if (bytesRead > 0) code = FS::WriteFile(output, buffer.get(), bytesRead, &written, nullptr);
    left -= bytesRead;
    // The container ended before the entry did.
    if (code == 0 && bytesRead < wanted) code = ERROR_INVALID_DATA;
  }
  if (code == 0) code = FS::SetEndOfFile(output);
  if (code == 0) code = FS::SetFileTime(output, nullptr, nullptr, &entry.time);
  FS::CloseHandle(output);
  return code;
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
