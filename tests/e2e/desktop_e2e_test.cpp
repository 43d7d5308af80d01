// The real client on desktops other than a plain X11 one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/client_harness.h"
#include "tests/support/demo_client.h"
#include "tests/support/scratch.h"

namespace talvo::e2e {
namespace {

namespace fs = std::filesystem;

// A session that offers both Wayland (weston, headless) and X11: the client opens through X11,
// where the window manager keeps it above the others when asked.
using DesktopSessionE2E = DemoClient;

TEST_F(DesktopSessionE2E, BesideWaylandTheClientOpensThroughX11WhereItCanStayAbove) {
  const fs::path& work = work_;
  // A socket's path must fit in 108 bytes, which a work folder under the build folder may not.
  const testing::TempFolder runtime_folder("wayland-runtime");
  const fs::path& runtime = runtime_folder.path();
  fs::permissions(runtime, fs::perms::owner_all);
  Process weston(
      {"/usr/bin/weston", "--backend=headless-backend.so", "--socket=talvo-e2e", "--idle-time=0"},
      {{"XDG_RUNTIME_DIR", runtime.string()}}, work / "weston.out", work / "weston.err");
  ASSERT_TRUE(Eventually([&] { return fs::exists(runtime / "talvo-e2e"); }, 20000))
      << testing::FileBytes(work / "weston.err");

  StartService();
  ASSERT_TRUE(StartClient(
      {"/usr/bin/env", "XDG_RUNTIME_DIR=" + runtime.string(), "WAYLAND_DISPLAY=talvo-e2e"}))
      << "not on the X display";
  ClientWindow& client = this->client();
  client.ClickKeepAboveMenu();
  EXPECT_TRUE(Eventually(
      [&] { return client.WmState().find("_NET_WM_STATE_ABOVE") != std::string::npos; }, 10000))
      << client.WmState();
  EXPECT_TRUE(CloseClient().has_value());  // before weston goes
}

// A session bus of the test's own (dbus-daemon), asked through gdbus.
class SessionBus {
 public:
  explicit SessionBus(const fs::path& work)
      : out_(work / "bus.out"),
        daemon_({"/usr/bin/dbus-daemon", "--session", "--nofork", "--print-address=1"}, {}, out_,
                work / "bus.err") {}
  std::string Address() {
    Eventually([&] { return !(address_ = FirstLine()).empty(); }, 10000);
    return address_;
  }
  // The first media player on the bus whose name carries `id`, or empty.
  std::string Player(const std::string& id) {
    std::istringstream names(
        Gdbus("--dest org.freedesktop.DBus --object-path /org/freedesktop/DBus "
              "--method org.freedesktop.DBus.ListNames"));
    for (std::string name; std::getline(names, name, '\'');) {
      if (name.rfind("org.mpris.MediaPlayer2." + id, 0) == 0) return name;
    }
    return {};
  }
  std::string Property(const std::string& player, const std::string& name,
                       const std::string& interface = "org.mpris.MediaPlayer2") {
    return Gdbus("--dest " + player +
                 " --object-path /org/mpris/MediaPlayer2 --method "
                 "org.freedesktop.DBus.Properties.Get " +
                 interface + " " + name);
  }
  std::string Call(const std::string& player, const std::string& method) {
    return Gdbus("--dest " + player +
                 " --object-path /org/mpris/MediaPlayer2 --method "
                 "org.mpris.MediaPlayer2.Player." +
                 method);
  }

 private:
  std::string FirstLine() {
    std::string line;
    std::getline(std::ifstream(out_) >> std::ws, line);
    return line;
  }
  std::string Gdbus(const std::string& arguments) {
    return Shell("DBUS_SESSION_BUS_ADDRESS='" + address_ + "' gdbus call --session " + arguments +
                 " 2>&1");
  }

  fs::path out_;
  Process daemon_;
  std::string address_;
};

// The desktop's media controls: the engine's player entry carries the launcher entry's id and
// the client's name, and Next and Previous choose the neighbouring channel as a click does.
TEST_F(DesktopSessionE2E, MediaControlsNameTheClientSwitchChannelsAndPause) {
  SessionBus bus(work_);
  ASSERT_FALSE(bus.Address().empty());
  DemoService& service = StartService();
  ASSERT_TRUE(StartClient({"/usr/bin/env", "DBUS_SESSION_BUS_ADDRESS=" + bus.Address()}));
  ClientWindow& client = this->client();
  // Clicked until the page is asked for: a click during start-up may reach no list yet.
  ASSERT_TRUE(Eventually(
      [&] {
        client.ClickChannelRow(0);
        return service.WaitForRequest("/usbtv/bjwsgq.html", 2000);
      },
      30000));
  ASSERT_TRUE(service.WaitForRequest("/media/channel.mp4", 15000)) << "the channel never played";
  std::string player;
  ASSERT_TRUE(
      Eventually([&] { return !(player = bus.Player("example.talvo.Client")).empty(); }, 30000))
      << "no media player entry with the client's id";
  EXPECT_EQ(bus.Property(player, "Identity"), "(<'Talvo HD'>,)\n");

  const auto loads = [&](const std::string& page) {
    return service.RequestsFor("/usbtv/" + page).size();
  };
  EXPECT_EQ(bus.Call(player, "Next"), "()\n");
  EXPECT_TRUE(Eventually([&] { return loads("gdwsgq.html") == 1; }, 10000))
      << "Next did not choose the second channel";
  // The new page plays as a player entry of its own, once it has started.
  const std::string first = player;
  EXPECT_TRUE(Eventually(
      [&] {
        player = bus.Player("example.talvo.Client");
        return !player.empty() && player != first;
      },
      20000))
      << first;
  const std::size_t shown_before = loads("bjwsgq.html");
  EXPECT_EQ(bus.Call(player, "Previous"), "()\n");
  EXPECT_TRUE(Eventually([&] { return loads("bjwsgq.html") > shown_before; }, 10000))
      << "Previous did not go back";
  const std::string kPlayer = "org.mpris.MediaPlayer2.Player";
  // The viewer's pause from the desktop is no stream that stopped: the page is not loaded again.
  const std::string second = player;
  ASSERT_TRUE(Eventually(
      [&] {
        player = bus.Player("example.talvo.Client");
        return !player.empty() && player != second &&
               bus.Property(player, "PlaybackStatus", kPlayer) == "(<'Playing'>,)\n";
      },
      20000));
  EXPECT_EQ(bus.Call(player, "Pause"), "()\n");
  EXPECT_TRUE(Eventually(
      [&] { return bus.Property(player, "PlaybackStatus", kPlayer) == "(<'Paused'>,)\n"; }, 10000));
  const std::size_t shown_paused = loads("bjwsgq.html");
  EXPECT_FALSE(Eventually([&] { return loads("bjwsgq.html") > shown_paused; }, 8000))
      << "a pause brought a reload";
  EXPECT_TRUE(CloseClient().has_value());  // before its session bus goes
}

}  // namespace
}  // namespace talvo::e2e
