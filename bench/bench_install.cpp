// One measured installation, as the program performs it: the kit is opened
// (decompressed into its temporary container and parsed), then the installer
// runs on its worker thread while this thread polls the shared state, as the
// progress page does. The time ends when the success state is seen; what the
// worker does in its final pause (idle time for the interface) is not
// counted.
//   bench_install KIT TARGET
// Prints: result, seconds to open, seconds to install, total, peak RSS.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "install/install_thread.h"
#include "install/installer.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_install KIT TARGET\n");
    return 2;
  }
  using Clock = std::chrono::steady_clock;
  const Clock::time_point begin = Clock::now();
  KitReader kit;
  uint32_t result = kit.open(widen_lib(argv[1]));
  const Clock::time_point opened = Clock::now();
  Clock::time_point installed = opened;
  if (result == 0) {
    InstallProcessData data;
    data.init(&kit, widen_lib(argv[2]));
    InstallThread worker;
    worker.start([&data] {
      Installer installer(0);
      installer.run(&data);
      return false;
    });
    int32_t progress = 0;
    for (;;) {
      // Read before the state, so that a success published just before the
      // worker ended is still seen.
      const bool ended = worker.finished();
      WideString message;
      data.getInstallState(result, message, progress);
      installed = Clock::now();
      if (result != 0 || progress == 100 || ended) break;
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    worker.join();
    // Neither success nor error: the worker ended without finishing.
    if (result == 0 && progress != 100) result = ERROR_CANCELLED;
  }
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
