#include "kit/kit_layout.h"

namespace {

void put_number(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>(value >> shift));
}

void put_text(std::string& out, const WideString& text) {
  put_number(out, static_cast<uint32_t>(text.size()));
  for (char16_t unit : text) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
  }
}

// A record: its size word, then the fields.
void put_record(std::string& out, const std::string& fields) {
  put_number(out, static_cast<uint32_t>(fields.size() + 4));
  out += fields;
}

}  // namespace

std::string encode_container_head(const KitLayout& layout, std::string& head) {
  constexpr uint64_t kLimit = 0xFFFFFFFFu;
  head.clear();
  if (layout.single) {
    const KitProduct product = layout.products.empty() ? KitProduct{} : layout.products.front();
    put_number(head, 0);
    put_text(head, product.title);
    put_text(head, product.vendor);
    put_text(head, product.readme);
  } else {
    put_number(head, 1);
    put_number(head, static_cast<uint32_t>(layout.products.size()));
    for (const KitProduct& product : layout.products) {
      std::string fields;
      put_text(fields, product.lang);
      put_text(fields, product.title);
      put_text(fields, product.vendor);
      put_text(fields, product.readme);
      if (fields.size() > kLimit / 2) return "product texts too long";
      put_record(head, fields);
    }
  }
  if (layout.entries.size() > kLimit) return "too many files";
  put_number(head, static_cast<uint32_t>(layout.entries.size()));
  uint64_t offset = 0;
  for (const KitEntry& entry : layout.entries) {
    std::string fields;
    put_text(fields, entry.name);
    put_number(fields, entry.time.dwLowDateTime);
    put_number(fields, entry.time.dwHighDateTime);
    put_number(fields, static_cast<uint32_t>(offset));
    put_number(fields, entry.size);
    if (fields.size() > kLimit / 2) return "file name too long";
    put_record(head, fields);
    offset += entry.size;
  }
  if (head.size() + offset > kLimit) return "the kit's content exceeds 4 GiB";
  return std::string();
}
