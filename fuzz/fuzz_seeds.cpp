#include "fuzz_seeds.h"

#include <fstream>

#include "kit/deflate_writer.h"
#include "kit/kit_layout.h"

namespace {

// A container with the given products and entries whose data are the
// entries' names repeated to their sizes.
std::string container(bool single, const std::vector<KitProduct>& products,
                      const std::vector<std::pair<WideString, uint32_t>>& files) {
  KitLayout layout;
  layout.single = single;
  layout.products = products;
  std::string data;
  for (const auto& file : files) {
    KitEntry entry;
    entry.name = file.first;
    entry.size = file.second;
    entry.time = {0xD53E8000u + file.second, 0x019DB1DEu};
    layout.entries.push_back(entry);
    for (uint32_t i = 0; i < file.second; ++i) data.push_back(static_cast<char>('a' + i % 26));
  }
  std::string head;
  encode_container_head(layout, head);
  return head + data;
}

bool save(const std::string& path, unsigned char mode, const std::string& body) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.put(static_cast<char>(mode));
  out << body;
  return static_cast<bool>(out);
}

}  // namespace

bool write_fuzz_seeds(const std::string& directory) {
  const std::vector<KitProduct> products = {{u"en", u"Templates", u"Vendor", u"docs\\readme.txt"},
                                            {u"ru", u"\u0428\u0430\u0431", u"", u""}};
  const std::vector<std::string> containers = {
      container(true, {{u"en", u"A", u"", u""}}, {}),
      container(false, products, {{u"a", 3}}),
      container(false, products, {{u"docs\\readme.txt", 40}, {u"dir/sub\\f", 0}, {u"x", 300}}),
      container(false, {}, {{u"\u00fc\u4e2d", 5}, {u"b", 1}, {u"c", 2}, {u"d", 70}}),
      container(true, {{u"de", u"Vorlagen", u"Firma", u"liesmich"}}, {{u"only", 9}}),
  };
  bool written = true;
  for (size_t i = 0; i < containers.size(); ++i) {
    const std::string stem = directory + "/seed" + std::to_string(i);
    written = save(stem + "-container", kInputIsContainer, containers[i]) && written;
    // The same container as a kit file, compressed here at two levels.
    for (int level : {0, 9}) {
      const std::string kit = stem + "-level" + std::to_string(level) + ".tmp";
      written = deflate_to_file(containers[i], kit, level).empty() && written;
      std::ifstream in(kit, std::ios::binary);
      const std::string compressed((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
      written = save(stem + "-kit" + std::to_string(level), kInputIsKitFile, compressed) && written;
      std::remove(kit.c_str());
    }
  }
  return written;
}
