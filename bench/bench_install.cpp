// One measured installation, as the program performs it: the kit is opened
// (decompressed into its temporary container and parsed) and the installer
// runs into the target directory. The time ends when the success state is
// published; the interface's one-second pause after it is not counted.
//   bench_install KIT TARGET
// Prints: result, seconds to open, seconds to install, total, peak RSS.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

#include "install/installer.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_install KIT TARGET\n");
    return 2;
  }
  using Clock = std::chrono::steady_clock;
  const Clock::time_point begin = Clock::now();
  KitReader kit;
  const uint32_t openCode = kit.open(widen_lib(argv[1]));
  const Clock::time_point opened = Clock::now();
  uint32_t result = openCode;
  if (openCode == 0) {
    InstallProcessData data;
    data.init(&kit, widen_lib(argv[2]));
    Installer installer(0);
    result = installer.run(&data);
  }
  const Clock::time_point installed = Clock::now();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](Clock::duration span) {
    return std::chrono::duration<double>(span).count();
  };
  std::printf("result=%u open=%.4f install=%.4f total=%.4f maxrss_kib=%ld\n", result,
              seconds(opened - begin), seconds(installed - opened), seconds(installed - begin),
              usage.ru_maxrss);
  return result == 0 ? 0 : 1;
}
