// The client on the desktop, checked from outside: one client for each application folder.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

#include "tests/support/client_harness.h"
#include "tests/support/demo_client.h"
#include "tests/support/scratch.h"

namespace talvo::e2e {
namespace {

namespace fs = std::filesystem;

using WindowE2E = DemoClient;

// Each file of `folder` but the client's log and the harness's own, with its size and time of
// change.
std::set<std::string> Files(const fs::path& folder) {
  std::set<std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name == "talvo.log" || name.starts_with("client.") || name.starts_with("second.") ||
        name.starts_with("service")) {
      continue;
    }
    files.insert(entry.path().string() + " " +
                 std::to_string(entry.last_write_time().time_since_epoch().count()) + " " +
                 (entry.is_regular_file() ? std::to_string(entry.file_size()) : "dir"));
  }
  return files;
}

// A second start on the folder of a running client shows that one's window, minimised before,
// and ends at once having asked and written nothing; a client that was killed holds nothing, and
// a client of another folder runs beside it.
TEST_F(WindowE2E, ASecondStartBringsTheFirstForwardAndAKilledOneHoldsNothing) {
  DemoService& service = StartService();
  ASSERT_TRUE(StartClient());
  ASSERT_TRUE(service.WaitForRequest("/user/Download.asp", 10000));
  const std::string window = client().VisibleWindow("V2.02");
  Shell("xdotool windowminimize --sync " + window);
  ASSERT_TRUE(Eventually([&] { return client().VisibleWindow("V2.02").empty(); }, 5000));
  const std::set<std::string> files = Files(work_);
  const std::string log_before = testing::FileBytes(work_ / "talvo.log");

  Process second({(BuildDir() / "talvo").string()}, {{"TALVO_APP_DIR", work_.string()}},
                 work_ / "second.out", work_ / "second.err");
  EXPECT_EQ(second.WaitExit(2000), 0) << testing::FileBytes(work_ / "second.err");
  const auto forward = [&] {
    return client().VisibleWindow("V2.02") == window &&
           Shell("xdotool getactivewindow 2>/dev/null") == window + "\n";
  };
  EXPECT_TRUE(Eventually(forward, 5000)) << client().WmState();
  EXPECT_EQ(service.RequestsFor("/user/jiemubiao.asp").size(), 1u);
  EXPECT_EQ(service.RequestsFor("/user/Download.asp").size(), 1u);
  EXPECT_EQ(Files(work_), files);
  const std::string log_added = testing::FileBytes(work_ / "talvo.log").substr(log_before.size());
  EXPECT_NE(log_added.find("another start asked for the window"), std::string::npos) << log_added;
  EXPECT_EQ(log_added.find("the icon is offered"), std::string::npos) << log_added;

  ::kill(client().process().pid(), SIGKILL);
  client().WaitExit(5000);
  ASSERT_TRUE(StartClient()) << "a killed client's hold stopped the next start";
  const fs::path other = work_ / "other";
  fs::create_directories(other);
  fs::copy_file(work_ / "talvo.ini", other / "talvo.ini");
  ClientWindow apart(other);
  EXPECT_TRUE(apart.WaitMapped(30000)) << "a client of another folder did not run";
  apart.process().Terminate();
}

// Where an X window's content lies on the screen, and its size, as the X server holds them.
struct Content {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Content&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Content& c) {
  return out << c.x << "," << c.y << " " << c.width << "x" << c.height;
}
Content ContentOf(const std::string& window) {
  const std::string info = Shell("xwininfo -id " + window);
  Content content;
  const auto field = [&](const char* name, int& value) {
    const std::size_t at = info.find(name);
    if (at != std::string::npos) value = std::atoi(info.c_str() + at + std::strlen(name));
  };
  field("Absolute upper-left X:", content.x);
  field("Absolute upper-left Y:", content.y);
  field("Width:", content.width);
  field("Height:", content.height);
  return content;
}

// Moved and resized, the window opens there at the next start; a place kept on a monitor that
// is gone opens whole on the screen, its size kept.
TEST_F(WindowE2E, TheWindowOpensWhereItWasLeftAndAPlaceOffTheScreenOnIt) {
  StartService();
  ASSERT_TRUE(StartClient());
  std::string window = client().VisibleWindow("V2.02");
  Shell("xdotool windowsize --sync " + window + " 1000 600 windowmove --sync " + window +
        " 130 90");
  ASSERT_TRUE(Eventually([&] { return ContentOf(window).width == 1000; }, 5000));
  const Content left = ContentOf(window);
  ASSERT_EQ(CloseClient(), 0);
  ASSERT_TRUE(StartClient());
  window = client().VisibleWindow("V2.02");
  EXPECT_TRUE(Eventually([&] { return ContentOf(window) == left; }, 5000))
      << ContentOf(window) << " was " << left;
  ASSERT_EQ(CloseClient(), 0);

  // The place kept, on a screen to the right of this one and below it.
  std::string choices = testing::FileBytes(work_ / "viewer.txt");
  const std::size_t line = choices.find("\nwindow\t");
  ASSERT_NE(line, std::string::npos) << choices;
  const std::size_t size = choices.find(' ', choices.find(' ', line) + 1);
  choices.replace(line, size - line, "\nwindow\t3400 1200");
  std::ofstream(work_ / "viewer.txt", std::ios::binary) << choices;
  ASSERT_TRUE(StartClient());
  window = client().VisibleWindow("V2.02");
  Content on_screen;
  // The virtual display is 1600 x 1000. The window maps first and takes its kept place after:
  // what counts is where it ends.
  EXPECT_TRUE(Eventually(
      [&] {
        on_screen = ContentOf(window);
        return on_screen.x >= 0 && on_screen.y >= 0 && on_screen.x + on_screen.width <= 1600 &&
               on_screen.y + on_screen.height <= 1000 && on_screen.width == left.width &&
               on_screen.height == left.height;
      },
      5000))
      << on_screen << ", its size kept: " << left;
}

}  // namespace
}  // namespace talvo::e2e
