#include "platform/web/page_safety.h"
#include "platform/web/page_memory.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

#include <fstream>

namespace talvo {
namespace {

TEST(SafeDownloadName, KeepsOnlyAPlainNameOfItsOwn) {
  const std::pair<std::string, std::string> cases[] = {
      {"report.pdf", "report.pdf"},
      {"../x.sh", "x.sh"},
      {"..\\..\\boot.ini", "boot.ini"},
      {"/etc/passwd", "passwd"},
      {"a/b/", "download"},
      {"..", "download"},
      {".bashrc", "bashrc"},
      {" . .hidden", "hidden"},
      {"a\nb\x01\x7f"
       "c.txt",
       "abc.txt"},
      {"", "download"},
      {"节目单 2026.xls", "节目单 2026.xls"},
  };
  for (const auto& [suggested, safe] : cases)
    EXPECT_EQ(SafeDownloadName(suggested), safe) << suggested;
  // Long names are cut at a character boundary: 100 three-byte characters give 66 of them.
  std::string chinese;
  for (int i = 0; i < 100; ++i) chinese += "节";
  EXPECT_EQ(SafeDownloadName(chinese), chinese.substr(0, 198));
}

TEST(DispositionFileName, ReadsTheNameAsSent) {
  const std::pair<std::string, std::string> cases[] = {
      {"attachment; filename=\"../x.sh\"", "../x.sh"},
      {"attachment; filename=report.pdf; size=3", "report.pdf"},
      {"attachment; filename*=UTF-8''%E8%8A%82%2F..%2Fa.txt", "节/../a.txt"},
      {"attachment; filename*=UTF-8''50%zz", "50%zz"},
      {"attachment; name=\"x\"; myfilename=\"y\"", ""},
      {"inline", ""},
  };
  for (const auto& [header, name] : cases) EXPECT_EQ(DispositionFileName(header), name) << header;
}

TEST(ReloadBudget, AtMostThreeAMinute) {
  using namespace std::chrono_literals;
  ReloadBudget budget;
  const ReloadBudget::Clock::time_point start{};
  const std::pair<std::chrono::seconds, bool> takes[] = {
      {0s, true},  {1s, true},  {2s, true},  {30s, false}, {59s, false},
      {60s, true}, {61s, true}, {62s, true}, {63s, false}, {200s, true}};
  for (const auto& [at, allowed] : takes) EXPECT_EQ(budget.Take(start + at), allowed) << at.count();
}

// /proc and /sys/fs/cgroup as folders of the test's own.
TEST(PageProcessTunables, TwoHeapsAndFixedMmapAndTrimThresholdsUnlessTheUserSetThem) {
  const std::string ours =
      "glibc.malloc.arena_max=2:glibc.malloc.mmap_threshold=33554432:"
      "glibc.malloc.trim_threshold=67108864";
  const std::pair<std::optional<std::string_view>, std::string> rows[] = {
      {std::nullopt, ours},
      {"", ours},
      {"glibc.malloc.tcache_count=0", "glibc.malloc.tcache_count=0:" + ours},
      {"glibc.malloc.mmap_threshold=65536",
       "glibc.malloc.mmap_threshold=65536:glibc.malloc.arena_max=2:"
       "glibc.malloc.trim_threshold=67108864"},
      {"glibc.malloc.arena_max=8:glibc.malloc.mmap_threshold=4096:glibc.malloc.trim_threshold=0",
       "glibc.malloc.arena_max=8:glibc.malloc.mmap_threshold=4096:glibc.malloc.trim_threshold=0"},
      // A longer name that begins like ours is another tunable.
      {"glibc.malloc.arena_max_x=1", "glibc.malloc.arena_max_x=1:" + ours},
  };
  for (const auto& [inherited, expected] : rows) {
    EXPECT_EQ(PageProcessTunables(inherited), expected) << inherited.value_or("(unset)");
  }
}

TEST(MemoryCeiling, TheMachineOrTheSmallestLimitOfTheGroupsAbove) {
  const testing::TempFolder root("memory-ceiling");
  const auto proc = root / "proc";
  const auto cgroup = root / "cgroup";
  std::filesystem::create_directories(proc / "self");
  std::filesystem::create_directories(cgroup / "user" / "session" / "app");
  std::ofstream(proc / "meminfo") << "MemTotal:       25165824 kB\nMemFree:        1000 kB\n";
  constexpr std::uint64_t kMachine = 25165824ull * 1024;

  EXPECT_EQ(MemoryCeilingBytes(proc, cgroup), kMachine) << "no cgroup file";
  std::ofstream(proc / "self" / "cgroup") << "0::/user/session/app\n";
  EXPECT_EQ(MemoryCeilingBytes(proc, cgroup), kMachine) << "no limits set";
  std::ofstream(cgroup / "user" / "session" / "app" / "memory.max") << "max\n";
  std::ofstream(cgroup / "user" / "memory.max") << "2147483648\n";
  EXPECT_EQ(MemoryCeilingBytes(proc, cgroup), 2147483648u) << "a limit further up";
  std::ofstream(cgroup / "user" / "session" / "memory.max") << "1073741824\n";
  EXPECT_EQ(MemoryCeilingBytes(proc, cgroup), 1073741824u) << "the smallest one";
  // cgroup v1: the memory controller's own hierarchy, "unlimited" as a huge number.
  std::filesystem::create_directories(cgroup / "memory" / "api" / "job");
  std::ofstream(proc / "self" / "cgroup") << "4:memory:/api/job\n3:cpu,cpuacct:/x\n";
  std::ofstream(cgroup / "memory" / "api" / "job" / "memory.limit_in_bytes")
      << "9223372036854771712\n";
  EXPECT_EQ(MemoryCeilingBytes(proc, cgroup), kMachine);
  std::ofstream(cgroup / "memory" / "api" / "memory.limit_in_bytes") << "629145600\n";
  EXPECT_EQ(MemoryCeilingBytes(proc, cgroup), 629145600u);

  EXPECT_EQ(PageMemoryLimitMiB(kMachine), 4096u);
  EXPECT_EQ(PageMemoryLimitMiB(8ull << 30), 2048u);
  EXPECT_EQ(PageMemoryLimitMiB(1ull << 30), 512u);
}

}  // namespace
}  // namespace talvo
