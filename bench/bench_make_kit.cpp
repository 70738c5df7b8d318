// Packs a directory tree into a kit file at the strongest compression:
//   bench_make_kit ROOT KIT
#include <cstdio>
#include <string>
#include <vector>

#include "kit/kit_tree.h"
#include "kit/kit_writer.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_make_kit ROOT KIT\n");
    return 2;
  }
  KitLayout layout;
  layout.products.push_back({u"en", u"Benchmark templates", u"Bench", u""});
  std::string error = scan_kit_tree(argv[1], layout.entries);
  if (error.empty()) error = write_kit(layout, argv[2], 9, nullptr);
  if (!error.empty()) {
    std::fprintf(stderr, "bench_make_kit: %s\n", error.c_str());
    return 1;
  }
  std::printf("entries=%zu\n", layout.entries.size());
  return 0;
}
