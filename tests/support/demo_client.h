// The end-to-end tests' ground: a work folder of the test's own, the demo service for every host
// where the test wants one, and the real client against what talvo.ini there says.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/client_harness.h"

namespace talvo::e2e {

class DemoClient : public ::testing::Test {
 protected:
  DemoClient()
      : work_(NewWorkDir(::testing::UnitTest::GetInstance()->current_test_info()->name())) {}

  // A client still running at the end is closed, and must end.
  void TearDown() override {
    if (client_) {
      EXPECT_TRUE(CloseClient().has_value()) << "closing the window did not end it";
    }
  }

  // One demo service for every host, written into talvo.ini.
  DemoService& StartService(const std::vector<std::string>& args = {}) {
    service_ = std::make_unique<DemoService>(work_, args);
    WriteConfig(work_, service_->HostPort(), service_->HostPort(), service_->HostPort());
    return *service_;
  }

  // The client, `launcher` in front and `env` added to its environment, until its window is
  // mapped; the harness prints what it was doing when it never is.
  ::testing::AssertionResult StartClient(const std::vector<std::string>& launcher = {},
                                         const std::map<std::string, std::string>& env = {}) {
    client_ = std::make_unique<ClientWindow>(work_, launcher, env);
    if (client_->WaitMapped(30000)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the main window never appeared\n" << client_->Stderr();
  }

  // Closed as its close box does; the exit code once the process has ended.
  std::optional<int> CloseClient() {
    client_->Close();
    const std::optional<int> code = client_->WaitExit(10000);
    stderr_ = client_->Stderr();
    client_.reset();
    return code;
  }

  ClientWindow& client() { return *client_; }

  std::filesystem::path work_;
  std::unique_ptr<DemoService> service_;
  std::unique_ptr<ClientWindow> client_;
  std::string stderr_;  // what the last client closed printed
};

}  // namespace talvo::e2e
