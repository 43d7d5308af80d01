// The Windows check of a host, under Wine: real connections on loopback.
#include "platform/web/host_probe.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/gui/gui_test.h"
#include "tests/support/loopback_server.h"

namespace talvo {
namespace {

TEST(HostProbe, TellsAHostThatTakesTheConnectionFromOneThatRefusesIt) {
  testing::LoopbackServer server;
  server.Start();
  std::vector<bool> told;
  HostProbe probe([&](bool answered) { told.push_back(answered); });
  const struct Row {
    std::string address;
    bool answered;
  } rows[] = {
      {server.Url("/usbtv/live.html"), true},
      {"http://127.0.0.1:" + std::to_string(testing::UnusedPort()) + "/", false},
      {"http://[::1]:" + std::to_string(testing::UnusedPort()) + "/", false},
  };
  for (const Row& row : rows) {
    told.clear();
    probe.Watch(row.address);
    ASSERT_TRUE(testing::WaitFor(
        row.address, [&] { return !told.empty(); }, 10000));
    EXPECT_EQ(told.front(), row.answered) << row.address;
  }
}

}  // namespace
}  // namespace talvo
