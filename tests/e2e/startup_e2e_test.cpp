// The real client against the demo service, checked from outside the process.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>

#include "core/credential_file.h"
#include "core/utf.h"
#include "tests/support/client_harness.h"
#include "tests/support/demo_client.h"

namespace talvo::e2e {
namespace {

const std::string kTitleStart =
    "塔沃高清影音 V2.02 官方网站：http://www.talvo.example 备用网站：http://";

// The paths the client fetched itself or sent the playback view to, in order. The service view's
// verify page loads in the engine's own time, so it is left out of the order.
std::vector<std::string> Paths(const std::vector<Request>& requests) {
  std::vector<std::string> paths;
  for (const Request& request : requests) {
    if (request.path != "/user/yanzhen.asp") paths.push_back(request.path);
  }
  return paths;
}

bool PortAnswers(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return ok;
}

using StartupE2E = DemoClient;

TEST_F(StartupE2E, OneServiceForEveryHost) {
  DemoService& service = StartService();
  ASSERT_TRUE(StartClient());
  ClientWindow& client = this->client();

  EXPECT_EQ(client.Title(), kTitleStart + service.HostPort() + " 报错登记：support@talvo.example");
  ASSERT_TRUE(service.WaitForRequest("/user/Download.asp", 10000));
  // Start-up in order: the programme list from the TV host (accepted, so asked once), then the
  // download page in the playback view, with an empty user.
  EXPECT_EQ(Paths(service.Requests()),
            (std::vector<std::string>{"/user/jiemubiao.asp", "/user/Download.asp"}));
  EXPECT_EQ(service.RequestsFor("/user/jiemubiao.asp")[0].query, "yh=");
  EXPECT_EQ(service.RequestsFor("/user/Download.asp")[0].query, "yh=");
  ASSERT_TRUE(service.WaitForRequest("/user/yanzhen.asp", 10000));
  EXPECT_EQ(service.RequestsFor("/user/yanzhen.asp")[0].query, "yh=guest");
  Screenshot("started");

  client.ClickChannelRow(6);  // the first programme entry
  EXPECT_TRUE(service.WaitForRequest("/usbtv/hnws.html", 10000)) << "programme entry click";
  Screenshot("programme-entry");

  EXPECT_EQ(CloseClient(), 0);
  EXPECT_EQ(stderr_.find("CRITICAL"), std::string::npos) << stderr_;
  EXPECT_EQ(stderr_.find("talvo debug"), std::string::npos) << "traced without TALVO_DEBUG";
}

TEST_F(StartupE2E, RejectedTvListFallsBackToThePrimaryAndBuiltInsUseTheChannelHost) {
  DemoService primary(work_);
  DemoService tv(work_, {"--fail", "/user/jiemubiao.asp=500"});
  DemoService channels(work_);
  WriteConfig(work_, primary.HostPort(), tv.HostPort(), channels.HostPort());
  ASSERT_TRUE(StartClient());
  ClientWindow& client = this->client();

  ASSERT_TRUE(primary.WaitForRequest("/user/Download.asp", 10000));
  EXPECT_EQ(Paths(tv.Requests()), std::vector<std::string>{"/user/jiemubiao.asp"});
  EXPECT_EQ(Paths(primary.Requests()),
            (std::vector<std::string>{"/user/jiemubiao.asp", "/user/Download.asp"}));
  EXPECT_TRUE(channels.Requests().empty());

  client.ClickChannelRow(0);  // 北京卫视高清
  EXPECT_TRUE(channels.WaitForRequest("/usbtv/bjwsgq.html", 10000)) << "built-in channel click";
  // The page's player asks for its stream: the real engine plays what the page carries.
  EXPECT_TRUE(channels.WaitForRequest("/media/channel.mp4", 10000)) << "the player never loaded";
  Screenshot("built-in-channel");
  // Programme entries come from the primary's list and point back at it.
  client.ClickChannelRow(7);
  EXPECT_TRUE(primary.WaitForRequest("/usbtv/dfws.html", 10000));
  EXPECT_TRUE(CloseClient().has_value());
}

TEST_F(StartupE2E, UnreachableServiceStillOpensWithTheBuiltIns) {
  // Hosts that nothing listens on; start-up must not hang on them.
  WriteConfig(work_, "127.0.0.1:9", "127.0.0.1:9", "127.0.0.1:9");
  // The user sees the built-ins; a maintainer who asks sees why the rest is missing.
  ASSERT_TRUE(StartClient({}, {{"TALVO_DEBUG", "1"}}));
  Screenshot("unreachable");
  EXPECT_TRUE(CloseClient().has_value());
  EXPECT_NE(stderr_.find("talvo debug: fetch: http://127.0.0.1:9/user/jiemubiao.asp"
                         "?yh=: Couldn't connect to server\n"),
            std::string::npos)
      << stderr_;
}

using SignInE2E = DemoClient;

TEST_F(SignInE2E, SignInThroughTheMenuIsRememberedForTheNextStart) {
  DemoService& service = StartService();
  const std::filesystem::path& work = work_;
  const std::string signed_in = "账号：demo_vip VIP用户";
  {
    ASSERT_TRUE(StartClient());
    ClientWindow& client = this->client();
    client.ClickLoginMenu();
    std::string login;
    ASSERT_TRUE(
        Eventually([&] { return !(login = client.VisibleWindow("塔沃用户登录")).empty(); }, 10000))
        << "账号登陆 did not open the login window";
    ASSERT_TRUE(client.WaitFocused(login, 10000)) << "the login window never got the keyboard";
    client.KeysTo(login, "key --clearmodifiers alt+u type --delay 20 demo_vip");
    client.KeysTo(login, "key --clearmodifiers alt+p type --delay 20 vip888");
    // Every keystroke is remembered: the file holds what the boxes hold.
    StoredAccount typed;
    EXPECT_TRUE(Eventually(
        [&] {
          typed = ReadCredentialFile(work);
          return typed.user == u"demo_vip" && typed.password == u"vip888";
        },
        10000))
        << "the boxes hold " << Utf16ToUtf8(typed.user) << " / " << Utf16ToUtf8(typed.password);
    Screenshot("sign-in-typed");
    client.KeysTo(login, "key Return");
    ASSERT_TRUE(
        Eventually([&] { return client.Title().find(signed_in) != std::string::npos; }, 10000))
        << client.Title();
    EXPECT_TRUE(client.VisibleWindow("塔沃用户登录").empty()) << "the login window stayed open";
    ASSERT_EQ(service.RequestsFor("/user/denglu.asp").size(), 1u);
    EXPECT_EQ(service.RequestsFor("/user/denglu.asp")[0].query, "yh=demo_vip&pw=vip888");
    EXPECT_TRUE(Eventually(
        [&] {
          const auto verify = service.RequestsFor("/user/yanzhen.asp");
          return !verify.empty() && verify.back().query == "yh=demo_vip";
        },
        10000))
        << "the service view did not open the account's verify page";
    Screenshot("signed-in");
    ASSERT_TRUE(CloseClient().has_value());
  }

  // The next start signs in by itself, before the window appears, and shows no login window.
  ASSERT_TRUE(StartClient());
  ClientWindow& again = client();
  EXPECT_NE(again.Title().find(signed_in), std::string::npos) << again.Title();
  EXPECT_TRUE(again.VisibleWindow("塔沃用户登录").empty());
  EXPECT_EQ(service.RequestsFor("/user/denglu.asp").size(), 2u);
  EXPECT_EQ(service.RequestsFor("/user/denglu.asp").back().query, "yh=demo_vip&pw=vip888");
  EXPECT_TRUE(Eventually(
      [&] { return service.RequestsFor("/user/Download.asp").back().query == "yh=demo_vip"; },
      10000))
      << "the download page was not asked for with the saved user";
  EXPECT_EQ(CloseClient(), 0) << "the hidden login window kept the process alive";
}

using RadioE2E = DemoClient;

TEST_F(RadioE2E, StationsArriveAfterTheTickAndBulletinsOpenTheirPages) {
  DemoService& service = StartService();
  ASSERT_TRUE(StartClient());
  ClientWindow& client = this->client();
  // The guest verify page's bulletins reach the bar; the first one opens its page.
  ASSERT_TRUE(service.WaitForRequest("/user/yanzhen.asp", 10000));
  ASSERT_TRUE(Eventually(
      [&] {
        client.ClickFirstBulletin();
        return !service.RequestsFor("/news/g1.html").empty();
      },
      15000))
      << "the first bulletin entry did not open its page";

  client.ClickRadioMenu();
  ASSERT_TRUE(service.WaitForRequest("/user/diantaibiao.asp", 15000)) << "no station list load";
  EXPECT_EQ(service.RequestsFor("/user/diantaibiao.asp").size(), 1u);
  ASSERT_TRUE(Eventually(
      [&] {
        client.ClickStationRow(2);
        return !service.RequestsFor("/usbtv/radio/yyzs.html").empty();
      },
      10000))
      << "the third station did not open its page";
  Screenshot("radio");
}

// `make run` as a process: run-demo started on the build, its service's port once announced,
// and its client's process id once started.
struct MakeRun {
  explicit MakeRun(const std::filesystem::path& work)
      : out(work / "run.out"),
        run({"/bin/bash",
             (std::filesystem::path(TALVO_SOURCE_DIR) / "scripts" / "run-demo").string(),
             BuildDir().string()},
            {}, out, work / "run.err") {}

  bool Started() {
    return Eventually(
        [&] {
          std::ifstream in(out);
          std::string line;
          std::getline(in, line);
          const auto colon = line.rfind(':');
          if (line.rfind("Demo service on", 0) == 0 && colon != std::string::npos) {
            port = std::atoi(line.c_str() + colon + 1);
          }
          const std::string children = Shell("pgrep -P " + std::to_string(run.pid()) + " -x talvo");
          client = children.substr(0, children.find('\n'));
          return port > 0 && !client.empty();
        },
        30000);
  }

  std::filesystem::path out;
  Process run;
  int port = 0;
  std::string client;
};

TEST(MakeRunE2E, ClosingTheClientStopsTheService) {
  MakeRun make(NewWorkDir("make-run"));
  ASSERT_TRUE(make.Started()) << "run-demo did not announce its service and start its client";
  EXPECT_TRUE(PortAnswers(make.port));
  // A search of the window tree fails when a window goes while it runs, as some do while the
  // client starts: search until the window is there.
  std::string window;
  ASSERT_TRUE(Eventually(
      [&] {
        window =
            Shell("xdotool search --onlyvisible --pid " + make.client + " 2>/dev/null | tail -n 1");
        return !window.empty();
      },
      30000))
      << "the client's window never appeared: "
      << WhyNoWindow(std::stoi(make.client), make.out.parent_path() / "run.err");
  Shell("xdotool windowactivate --sync " + window.substr(0, window.find('\n')) +
        " key --clearmodifiers alt+F4");
  const std::optional<int> code = make.run.WaitExit(15000);
  ASSERT_TRUE(code.has_value()) << "run-demo did not end with its client";
  EXPECT_EQ(*code, 0);
  EXPECT_FALSE(PortAnswers(make.port)) << "the demo service outlived the client";
}

// Ended from outside (a kill, a closed terminal), make run leaves nothing running.
TEST(MakeRunE2E, EndingItEndsTheClientAndTheService) {
  MakeRun make(NewWorkDir("make-run-ended"));
  ASSERT_TRUE(make.Started()) << "run-demo did not announce its service and start its client";
  make.run.Terminate();
  EXPECT_TRUE(Eventually([&] { return Shell("ps -o pid= -p " + make.client).empty(); }, 10000))
      << "the client outlived run-demo";
  EXPECT_FALSE(PortAnswers(make.port)) << "the demo service outlived run-demo";
}

TEST(MakeRunE2E, WithoutADisplayItSaysSoAndFails) {
  const auto work = NewWorkDir("make-run-no-display");
  const std::filesystem::path source = TALVO_SOURCE_DIR;
  Process run({"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "/bin/bash",
               (source / "scripts" / "run-demo").string(), BuildDir().string()},
              {}, work / "run.out", work / "run.err");
  const std::optional<int> code = run.WaitExit(10000);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 1);
  std::ifstream err(work / "run.err");
  std::string first_line;
  std::getline(err, first_line);
  EXPECT_NE(first_line.find("no display"), std::string::npos) << first_line;
}

}  // namespace
}  // namespace talvo::e2e
