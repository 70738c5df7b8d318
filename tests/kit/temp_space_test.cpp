// The temporary-space check before a kit is opened, with kit sizes beyond 32
// bits: a sparse kit of 1.5 GiB and one of 4.5 GiB against free spaces that
// the test chooses, then against a real file system of each kind.
#include <unistd.h>

#include <tuple>

#include "kit/temp_space.h"
#include "kit_test_support.h"
#include "support/child_process.h"

namespace {

// The real file layer, but for the free space, which the test sets; 87 makes
// the query fail.
struct ChosenSpace : FileSystem {
  static inline uint64_t s_free = 0;
  static uint32_t GetFreeSpaceTmpDir(unsigned int* freeBytes) {
    *freeBytes = static_cast<unsigned int>(s_free);
    return s_free == 87 ? ERROR_INVALID_PARAMETER : 0;
  }
};

class TempSpace : public KitTest {};

TEST_F(TempSpace, IsMeasuredIn64BitsAndSpaceBeyond32BitsIsEnough) {
  constexpr uint64_t kGiB = uint64_t{1} << 30;
  for (const auto& [name, size] : {std::pair{"small.pkd", uint64_t{100}},
                                   std::pair{"1.5g.pkd", 3 * kGiB / 2},
                                   std::pair{"4.5g.pkd", 9 * kGiB / 2}}) {
    write_file(path(name), "");
    ASSERT_EQ(truncate(path(name).c_str(), static_cast<off_t>(size)), 0);
  }
  const std::tuple<const char*, uint64_t, bool> cases[] = {
      {"small.pkd", 299, false},      {"small.pkd", 300, true},
      {"1.5g.pkd", 0xFFFFFFFF, true},  // more than 32 bits hold
      {"1.5g.pkd", 4000000000, false}, {"4.5g.pkd", 0xFFFFFFFF, true},
      {"4.5g.pkd", 2 * kGiB, false},  // its low 32 bits would pass
      {"4.5g.pkd", 87, true},          {"missing.pkd", 0, true},
  };
  for (const auto& [name, freeBytes, suffices] : cases) {
    ChosenSpace::s_free = freeBytes;
    EXPECT_EQ(temp_space_suffices<ChosenSpace>(wpath(name)), suffices) << name << " " << freeBytes;
  }
  // A tmpfs of 16 GiB reports the largest 32-bit value; one of 2 GiB its size.
  const std::string report = run_in_child([&] {
    std::string verdicts;
    for (const char* size : {"size=16g", "size=2g"}) {
      const std::string failure = mount_private_tmpfs(path(size), size);
      if (!failure.empty()) return "skip: " + failure;
      setenv("TMPDIR", path(size).c_str(), 1);
      unsigned int freeBytes = 0;
      FileSystem::GetFreeSpaceTmpDir(&freeBytes);
      verdicts += std::to_string(freeBytes) + " " +
                  std::to_string(temp_space_suffices<FileSystem>(wpath("1.5g.pkd"))) + ";";
    }
    return verdicts;
  });
  if (is_skip_report(report)) GTEST_SKIP() << report;
  EXPECT_EQ(report, "4294967295 1;2147483648 0;");
}

}  // namespace
