// The kit reader: decompresses a kit into a temporary container, validates
// and parses its product records and file catalogue, and copies single
// entries out of it. No lock of its own: one thread at a time (the dialog
// before and after an installation, the install worker during it).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "kit/entry_name.h"
#include "kit/record_cursor.h"
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
  // Closes the container and deletes the temporary file.
  ~InstallData();
  InstallData(const InstallData&) = delete;
  InstallData& operator=(const InstallData&) = delete;

  // Decompresses the kit into a new temporary container and reads its
  // products and catalogue. Returns 0, the code of the failing step, or
  // ERROR_INVALID_DATA (13) for a kit that is damaged or unsafe; on failure
  // the catalogue is empty and the temporary container is deleted.
  uint32_t open(const WideString& kitPath);
  // Closes the container and deletes the temporary file; `tempFile` keeps
  // its text.
  void close();

  uint32_t count() const { return static_cast<uint32_t>(files.size()); }
  // The caller keeps `index` below count().
  void get(uint32_t index, FileData<FS>& entry) const { entry = files[index]; }
  // Writes entry `index` into a new file `destination` with the entry's
  // last-write time. Returns 0 or the failing step's code; 13 when the
  // container ends before the entry does.
  uint32_t copy(uint32_t index, const WideString& destination);

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
  // FS::ReadFile that throws FS::GetLastError() on failure.
  void readFile(HANDLE file, void* target, uint32_t byteCount, unsigned int* bytesRead) const;

 private:
  // Reads exactly `byteCount` bytes; a short read throws ERROR_INVALID_DATA.
  void readExactly(void* target, uint32_t byteCount);
  uint32_t readNumber();
  void readProducts();
  void readSingleProduct();
  void readCatalogue();
  // Bytes of the container not yet read.
  uint64_t remaining() const { return containerSize - position; }

  std::vector<ProductInfo> products;
  std::vector<FileData<FS>> files;
  WideString tempFile;
  HANDLE handle;
  Compressor compressor;
  uint32_t bufferSize;
  std::unique_ptr<uint8_t[]> buffer;
  // Whether `tempFile` names a container this object made and has not yet
  // deleted; a second deletion could hit another file of the same name.
  bool tempFileCreated = false;
  uint64_t containerSize = 0;
  uint64_t position = 0;
};

}  // namespace config

#include "kit/install_data_impl.h"
