// Writes a template tree for the installation benchmark:
//   bench_tree ROOT [FILES [MEGABYTES [SEED]]]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "template_tree.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_tree ROOT [FILES [MEGABYTES [SEED]]]\n");
    return 2;
  }
  TreeShape shape;
  if (argc > 2) shape.files = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
  if (argc > 3) shape.totalBytes = std::strtoull(argv[3], nullptr, 10) << 20;
  if (argc > 4) shape.seed = std::strtoull(argv[4], nullptr, 10);
  if (shape.files == 0) {
    std::fprintf(stderr, "bench_tree: FILES must be positive\n");
    return 2;
  }
  uint64_t written = 0;
  const std::string error = generate_template_tree(argv[1], shape, written);
  if (!error.empty()) {
    std::fprintf(stderr, "bench_tree: %s\n", error.c_str());
    return 1;
  }
  std::printf("files=%u bytes=%llu\n", shape.files, static_cast<unsigned long long>(written));
  return 0;
}
