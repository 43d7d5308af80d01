// A page that hogs memory, with the real client in a memory control group of its own: the page
// process is ended at its limit, before the group runs out, and the view recovers within its
// budget.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "core/charset.h"
#include "tests/support/client_harness.h"
#include "tests/support/demo_client.h"
#include "tests/support/loopback_server.h"
#include "tests/support/scratch.h"

namespace talvo::e2e {
namespace {

namespace fs = std::filesystem;

// 32 MiB more every quarter of a second, every byte touched.
constexpr const char* kHogPage = R"(<html><body>hog<script>const kept = [];
setInterval(() => { const a = new Uint8Array(32 << 20); a.fill(1); kept.push(a); }, 250);
</script></body></html>)";

// A cgroup v1 memory group below this process's own, removed when its processes are gone.
class MemoryGroup {
 public:
  explicit MemoryGroup(std::uint64_t limit) {
    std::ifstream groups("/proc/self/cgroup");
    for (std::string line; std::getline(groups, line);) {
      const std::size_t at = line.find(":memory:");
      if (at != std::string::npos) {
        path_ = fs::path("/sys/fs/cgroup/memory") / line.substr(at + 9) /
                ("talvo-e2e-" + std::to_string(::getpid()));
      }
    }
    if (path_.empty() || !fs::create_directory(path_)) return;
    std::ofstream(path_ / "memory.limit_in_bytes") << limit;
  }
  ~MemoryGroup() {
    if (!path_.empty()) Eventually([&] { return ::rmdir(path_.c_str()) == 0; }, 5000);
  }
  bool Made() const { return !path_.empty() && fs::exists(path_ / "cgroup.procs"); }
  // Joins the group, then runs its last argument.
  std::vector<std::string> Launcher() const {
    return {"/bin/sh", "-c",
            "echo $$ > '" + (path_ / "cgroup.procs").string() + "' && exec \"$0\""};
  }
  std::string OomKills() const {
    std::ifstream control(path_ / "memory.oom_control");
    for (std::string key, value; control >> key >> value;) {
      if (key == "oom_kill") return value;
    }
    return "0";
  }

 private:
  fs::path path_;
};

using PagesE2E = DemoClient;

TEST_F(PagesE2E, AMemoryHogIsEndedAtItsLimitAndTheViewRecoversWithinItsBudget) {
  testing::LoopbackServer server;
  server.http().Get("/user/jiemubiao.asp", [&](const httplib::Request&, httplib::Response& res) {
    res.set_content(EncodeGbk(u"内存卫视\r\n") + server.Url("/hog") + "\r\n",
                    "text/plain; charset=gb2312");
  });
  server.Serve("/hog", kHogPage);
  server.Start();
  WriteConfig(work_, server.HostPort(), server.HostPort(), server.HostPort());
  // 2 GiB for the whole client: its page processes may use a quarter of it, the 512 MiB floor.
  MemoryGroup group(2ull << 30);
  ASSERT_TRUE(group.Made()) << "no cgroup v1 memory controller to make a group in";
  ASSERT_TRUE(StartClient(group.Launcher()));
  ClientWindow& client = this->client();
  const auto hog_loads = [&] {
    const auto targets = server.Targets();
    return std::count(targets.begin(), targets.end(), "/hog");
  };
  client.ClickChannelRow(6);
  // Loaded, ended at the limit and loaded again three times; then the notice, as the log says.
  EXPECT_TRUE(Eventually(
      [&] {
        return testing::FileBytes(work_ / "talvo.log").find("reloads used up") != std::string::npos;
      },
      90000))
      << hog_loads() << " loads";
  EXPECT_EQ(hog_loads(), 4) << "reloaded past the budget, or short of it";
  EXPECT_EQ(group.OomKills(), "0") << "the group ran out before the page's limit acted";
  EXPECT_TRUE(client.process().Running()) << "the client itself was ended";
  EXPECT_TRUE(CloseClient().has_value());  // before its memory group goes
}

}  // namespace
}  // namespace talvo::e2e
