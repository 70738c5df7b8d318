// Measures how soon a confirmed cancel starts the rollback (not a test):
//   bench_cancel WORK_DIR [MEGABYTES [FILES]]
// (a) a kit of one file of MEGABYTES (1024) of varied text, cancelled half way
//     through its copy; (b) a template tree of FILES (20,000) files already
//     installed, cancelled half way through the pass over it and again while
//     the rest of the kit is checked. For each, the
//     time from the cancel to the published start of the rollback and to the
//     run's end. WORK_DIR is emptied of what the tool made before it ends.
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "install/installer.h"
#include "kit/kit_tree.h"
#include "kit/kit_writer.h"
#include "template_tree.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Lines of words from a small vocabulary in a pseudo-random order: deflate
// finds matches, but no long runs.
std::string writeVariedFile(const std::string& path, uint64_t bytes) {
  static const char* const kWords[] = {"template", "form",   "field",  "value", "report",
                                       "account",  "ledger", "period", "total", "vendor",
                                       "<row id=", "\"/>",   "</col>", "1024",  "7.50"};
  std::ofstream out(path, std::ios::binary);
  std::string block;
  uint64_t seed = 88172645463325252ull;
  for (uint64_t written = 0; out && written < bytes; written += block.size()) {
    block.clear();
    while (block.size() < (1u << 20)) {
      seed ^= seed << 13, seed ^= seed >> 7, seed ^= seed << 17;
      block += kWords[seed % 15];
      block += (seed >> 8) % 9 == 0 ? '\n' : ' ';
    }
    if (bytes - written < block.size()) block.resize(bytes - written);
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
  }
  return out ? std::string() : "cannot write " + path;
}

std::string packTree(const std::string& root, const std::string& kit, int level) {
  KitLayout layout;
  layout.products.push_back({u"en", u"Cancel benchmark", u"Bench", u""});
  const std::string error = scan_kit_tree(root, layout.entries);
  return error.empty() ? write_kit(layout, kit, level, nullptr) : error;
}

// Installs `kit` into `target`; with `cancelAt` below 100, cancels once the
// published progress reaches it and prints the latencies under `label`.
bool install(const std::string& kitPath, const std::string& target, int cancelAt,
             const char* label) {
  KitReader kit;
  if (kit.open(widen_lib(kitPath)) != 0) {
    std::fprintf(stderr, "bench_cancel: cannot open %s\n", kitPath.c_str());
    return false;
  }
  InstallProcessData data;
  data.init(&kit, widen_lib(target));
  Installer installer(0);
  uint32_t result = 0;
  std::atomic<bool> ended{false};
  std::thread worker([&] {
    result = installer.run(&data);
    ended = true;
  });
  uint32_t code = 0;
  WideString message;
  int32_t progress = 0;
  for (;;) {
    data.getInstallState(code, message, progress);
    if (progress >= cancelAt || code != 0 || progress == 100) break;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  const Clock::time_point cancelled = Clock::now();
  double toRollback = -1;
  if (cancelAt < 100) {
    data.setCancel(true);
    // A run that has changed nothing announces no rollback: it just ends.
    while (!data.rollingBack() && !ended)
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    if (data.rollingBack()) toRollback = millisecondsSince(cancelled);
  }
  worker.join();
  if (cancelAt < 100) {
    const std::string rollback =
        toRollback < 0 ? "none (nothing had changed)" : std::to_string(toRollback) + " ms";
    std::printf(
        "%s: cancelled at %d%%, result %u; cancel to rollback start %s, to the run's "
        "end %.1f ms\n",
        label, progress, result, rollback.c_str(), millisecondsSince(cancelled));
  }
  return cancelAt < 100 ? result == ERROR_CANCELLED : result == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_cancel WORK_DIR [MEGABYTES [FILES]]\n");
    return 2;
  }
  const std::filesystem::path work = std::filesystem::path(argv[1]) / "bench-cancel";
  const uint64_t megabytes = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1024;
  TreeShape shape;
  shape.files = argc > 3 ? static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10)) : 20000;
  shape.totalBytes = 200ull << 20;
  std::filesystem::remove_all(work);
  std::filesystem::create_directories(work / "home");
  std::filesystem::create_directories(work / "big");
  // The registry of pending installations goes below HOME: the tool's own.
  setenv("HOME", (work / "home").c_str(), 1);
  bool good = true;

  std::string error = writeVariedFile((work / "big/big.bin").string(), megabytes << 20);
  if (error.empty()) error = packTree((work / "big").string(), (work / "big.pkd").string(), 1);
  if (error.empty()) {
    std::filesystem::remove(work / "big/big.bin");
    std::printf(
        "(a) one file of %llu MiB, kit %llu MiB\n", static_cast<unsigned long long>(megabytes),
        static_cast<unsigned long long>(std::filesystem::file_size(work / "big.pkd") >> 20));
    good = install((work / "big.pkd").string(), (work / "big-target").string(), 50,
                   "(a) inside the file");
    std::filesystem::remove_all(work / "big-target");
    std::filesystem::remove(work / "big.pkd");
  }

  uint64_t written = 0;
  if (error.empty()) error = generate_template_tree((work / "tree").string(), shape, written);
  if (error.empty()) error = packTree((work / "tree").string(), (work / "tree.pkd").string(), 6);
  if (error.empty()) {
    std::printf("(b) %u files of %llu MiB, up to date\n", shape.files,
                static_cast<unsigned long long>(written >> 20));
    const std::string target = (work / "tree-target").string();
    good = install((work / "tree.pkd").string(), target, 100, "") && good;
    good = install((work / "tree.pkd").string(), target, 50, "(b) passing over") &&
           install((work / "tree.pkd").string(), target, 99, "(b) checking the rest of the kit") &&
           good;
  }
  std::filesystem::remove_all(work);
  if (!error.empty()) std::fprintf(stderr, "bench_cancel: %s\n", error.c_str());
  return error.empty() && good ? 0 : 1;
}
