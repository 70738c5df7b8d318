// Measures what checking a kit's signature costs (not a test):
//   bench_verify KIT PUB [ROUNDS]
// KIT is signed (KIT.minisig) with the key in the minisign public key file
// PUB. Each round, interleaved: (a) the check before an installation, one
// read of the kit through its descriptor into its digest and the signature
// checked; (b) the installation's read of the kit without a digest, as an
// unsigned kit is read (decompressed through to its end); (c) the same read
// hashed and compared with the digest verified, as a signed kit is read.
// Prints the medians of wall and processor time and what (a) + (c) - (b)
// adds; run_benchmark.py gives the fresh installation to compare it with.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "kit/install_data.h"
#include "kit/kit_signature.h"
#include "kit/lz_compressor.h"
#include "kit/trusted_keys.h"

namespace {

using KitReader = config::InstallData<LZCompressor, FileSystem>;

double processorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Times {
  std::vector<double> wall, processor;
};

// Runs `step`, adding its wall and processor seconds to `times`.
void timed(Times& times, const std::function<void()>& step) {
  const auto start = std::chrono::steady_clock::now();
  const double processorStart = processorSeconds();
  step();
  times.processor.push_back(processorSeconds() - processorStart);
  times.wall.push_back(
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "bench_verify: %s\n", what);
  std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_verify KIT PUB [ROUNDS]\n");
    return 2;
  }
  const std::string kit = argv[1];
  const int rounds = argc > 3 ? std::atoi(argv[3]) : 9;
  const TrustedKeys trusted = load_trusted_keys(std::string(), {argv[2]});
  require(!trusted.refusal.refused(), "the key file is refused");
  Times check, plain, hashed;
  KitDigestValue digest{};
  for (int round = 0; round < rounds; ++round) {
    timed(check, [&] {
      KitReader reader;
      reader.setDigesting(true);
      require(reader.open(widen_lib(kit)) == 0, "the kit cannot be opened");
      KitSignatureCheck signature;
      require(!signature.prepare(kit, reader.kitFileSize(), trusted.keys).refused(),
              "the signature is refused");
      const std::atomic<bool> stop{false};
      std::atomic<uint64_t> read{0};
      const KitVerification verification = verify_kit(reader, signature, false, stop, read);
      require(verification.code == 0, "the kit's signature does not verify");
      digest = verification.digest;
    });
    for (const bool signedKit : {false, true}) {
      timed(signedKit ? hashed : plain, [&] {
        KitReader reader;
        reader.setDigesting(signedKit);
        require(reader.open(widen_lib(kit)) == 0, "the kit cannot be opened");
        if (signedKit) reader.expectDigest(digest);
        require(reader.verify() == 0, "the kit's read fails");
      });
    }
  }
  std::printf("medians of %d rounds, wall / processor seconds:\n", rounds);
  std::printf("  check before installing   %.3f / %.3f\n", median(check.wall),
              median(check.processor));
  std::printf("  read, unsigned kit        %.3f / %.3f\n", median(plain.wall),
              median(plain.processor));
  std::printf("  read, signed kit          %.3f / %.3f\n", median(hashed.wall),
              median(hashed.processor));
  std::printf("signed kit adds %.3f / %.3f\n",
              median(check.wall) + median(hashed.wall) - median(plain.wall),
              median(check.processor) + median(hashed.processor) - median(plain.processor));
  return 0;
}
