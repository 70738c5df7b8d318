// What a kit holds, as the writer sees it (products, entries and where each
// entry's bytes come from), and the encoding of the container's head: format
// word, products and catalogue. Used by the kit writer and the kit tool, never
// by the installer. Plain data and pure functions; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32_types.h"
#include "text/wide_string.h"

struct KitProduct {
  WideString lang;
  WideString title;
  WideString vendor;
  WideString readme;
};

struct KitEntry {
  WideString name;         // relative, components separated by "\"
  std::string sourcePath;  // file whose bytes become the entry's data
  _FILETIME time{0, 0};
  uint32_t size = 0;
};

struct KitLayout {
  // The single-product layout keeps only the first product (as "en").
  bool single = false;
  std::vector<KitProduct> products;
  std::vector<KitEntry> entries;
};

// The container up to the data area, with each entry's offset following the
// previous entry's end. Returns an error text (empty on success) when the
// layout does not fit the format: a text longer than 32 bits can count, or
// data beyond 4 GiB.
std::string encode_container_head(const KitLayout& layout, std::string& head);
