// The real client on desktops other than a plain X11 one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
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
  std::string Gdbus(const std::string& arguments) {
    return Shell("DBUS_SESSION_BUS_ADDRESS='" + address_ + "' gdbus call --session " + arguments +
                 " 2>&1");
  }

 private:
  std::string FirstLine() {
    std::string line;
    std::getline(std::ifstream(out_) >> std::ws, line);
    return line;
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

// The desktop's tray: a StatusNotifierWatcher of the test's own on its bus
// (tests/e2e/sni_watcher.py) and the client's item as a tray shows it, its menu read and clicked
// through com.canonical.dbusmenu.
class TrayItem {
 public:
  TrayItem(SessionBus& bus, const fs::path& watcher_out) : bus_(bus) {
    Eventually(
        [&] {
          std::ifstream lines(watcher_out);
          std::string ready;
          return std::getline(lines, ready) && lines >> sender_ >> path_;
        },
        20000);
  }
  bool Registered() const { return !path_.empty(); }
  std::string Property(const std::string& name) {
    return bus_.Gdbus("--dest " + sender_ + " --object-path " + path_ +
                      " --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem " +
                      name);
  }
  std::string MenuLayout() {
    std::smatch menu;
    const std::string reply = Property("Menu");
    if (!std::regex_search(reply, menu, std::regex("objectpath '([^']+)'"))) return reply;
    menu_ = menu[1];
    return bus_.Gdbus("--dest " + sender_ + " --object-path " + menu_ +
                      " --method com.canonical.dbusmenu.GetLayout 0 'int32 -1' '[]'");
  }
  // Clicks the entry that carries `label`, as a tray does; false when there is none.
  bool Click(const std::string& label) {
    std::smatch entry;
    const std::string layout = MenuLayout();
    if (!std::regex_search(layout, entry,
                           std::regex("\\((\\d+), \\{[^{}]*'label': <'" + label + "'>"))) {
      return false;
    }
    return bus_.Gdbus("--dest " + sender_ + " --object-path " + menu_ +
                      " --method com.canonical.dbusmenu.Event " + entry[1].str() +
                      " clicked '<\"\">' 0") == "()\n";
  }

 private:
  SessionBus& bus_;
  std::string sender_, path_, menu_;
};

// A bus of the test's own with a StatusNotifierWatcher on it or none, where the client starts with
// 关闭窗口时最小化到托盘 on, as the desktop starts it: in the tray (`--tray`).
struct TrayDesktop {
  TrayDesktop(const fs::path& work, bool with_watcher) : bus(work) {
    std::ofstream(work / "viewer.txt") << "talvo viewer choices 1\ntray\t1\n";
    if (!with_watcher) return;
    watcher = std::make_unique<Process>(
        std::vector<std::string>{"/usr/bin/python3", TALVO_SOURCE_DIR "/tests/e2e/sni_watcher.py"},
        std::map<std::string, std::string>{{"DBUS_SESSION_BUS_ADDRESS", bus.Address()}},
        work / "watcher.out", work / "watcher.err");
    Eventually([&] { return testing::FileBytes(work / "watcher.out").starts_with("ready"); },
               10000);
  }
  std::unique_ptr<ClientWindow> StartClient(const fs::path& work) {
    return std::make_unique<ClientWindow>(
        work, std::vector<std::string>{"/usr/bin/env", "DBUS_SESSION_BUS_ADDRESS=" + bus.Address(),
                                       "/bin/sh", "-c", "exec \"$0\" --tray"});
  }
  SessionBus bus;
  std::unique_ptr<Process> watcher;
};

// Started in the tray with 关闭窗口时最小化到托盘 on: the item registers with the program's name
// and icon and the window stays hidden; the menu shows and hides the window, closing hides it while
// the channel plays on, and 退出 ends the program with code 0.
TEST_F(DesktopSessionE2E, TheTrayHidesAndShowsTheWindowKeepsPlayingWhenClosedAndQuits) {
  TrayDesktop desktop(work_, true);
  DemoService& service = StartService();
  client_ = desktop.StartClient(work_);
  ClientWindow& client = this->client();
  TrayItem item(desktop.bus, work_ / "watcher.out");
  ASSERT_TRUE(item.Registered()) << testing::FileBytes(work_ / "watcher.err");
  EXPECT_EQ(item.Property("Id"), "(<'talvo'>,)\n");
  EXPECT_EQ(item.Property("IconName"), "(<'example.talvo.Client'>,)\n");
  const std::string theme = item.Property("IconThemePath");  // "(<'/run/…'>,)\n"
  EXPECT_TRUE(fs::exists(theme.substr(3, theme.size() - 8) + "/example.talvo.Client.png")) << theme;
  const std::string layout = item.MenuLayout();
  for (const char* label : {"显示主窗口", "（没有收藏）", "静音", "定时关闭", "30 分钟", "退出"}) {
    EXPECT_NE(layout.find(label), std::string::npos) << label << " in " << layout;
  }
  const auto shown = [&] { return !client.VisibleWindow("塔沃高清影音").empty(); };
  EXPECT_FALSE(Eventually(shown, 4000)) << "started in the tray, the window showed";

  ASSERT_TRUE(item.Click("显示主窗口"));
  ASSERT_TRUE(client.WaitMapped(10000));
  ASSERT_TRUE(item.Click("隐藏主窗口"));
  EXPECT_TRUE(Eventually([&] { return !shown(); }, 10000));
  ASSERT_TRUE(item.Click("显示主窗口"));
  EXPECT_TRUE(Eventually(shown, 10000));

  ASSERT_TRUE(Eventually(
      [&] {
        client.ClickChannelRow(0);
        return service.WaitForRequest("/media/channel.mp4", 2000);
      },
      30000));
  std::string player;
  const auto playing = [&] {
    player = desktop.bus.Player("example.talvo.Client");
    return !player.empty() &&
           desktop.bus.Property(player, "PlaybackStatus", "org.mpris.MediaPlayer2.Player") ==
               "(<'Playing'>,)\n";
  };
  ASSERT_TRUE(Eventually(playing, 20000));
  client.Close();
  EXPECT_TRUE(Eventually([&] { return !shown(); }, 10000));
  EXPECT_FALSE(client.WaitExit(3000).has_value()) << "closing ended the program";
  EXPECT_TRUE(playing()) << "the channel stopped with the window";
  ASSERT_TRUE(item.Click("退出"));
  EXPECT_EQ(client.WaitExit(10000), 0);
  client_.reset();
}

// Where the desktop shows no tray nothing hides into nowhere: started in the tray the window
// shows minimised, and closing it with the option on minimises it again.
TEST_F(DesktopSessionE2E, WithoutATrayTheWindowMinimisesInstead) {
  TrayDesktop desktop(work_, false);
  StartService();
  client_ = desktop.StartClient(work_);
  ClientWindow& client = this->client();
  // The client's window the window manager holds minimised, or empty.
  const auto minimised = [&] {
    return Shell("for w in $(xdotool search --pid " + std::to_string(client.process().pid()) +
                 "); do xprop -id $w _NET_WM_STATE | grep -q _HIDDEN && echo -n $w; done");
  };
  std::string window;
  EXPECT_TRUE(Eventually([&] { return !(window = minimised()).empty(); }, 15000))
      << "started in the tray without one: not minimised";
  Shell("xdotool windowactivate --sync " + window + " 2>/dev/null");
  ASSERT_TRUE(client.WaitMapped(10000));
  ASSERT_EQ(minimised(), "");
  client.Close();
  EXPECT_TRUE(Eventually([&] { return !minimised().empty(); }, 10000)) << client.WmState();
  EXPECT_FALSE(client.WaitExit(2000).has_value())
      << "closing ended the program: " << testing::FileBytes(work_ / "client.err");
  client.process().Terminate();
  client_.reset();
}

}  // namespace
}  // namespace talvo::e2e
