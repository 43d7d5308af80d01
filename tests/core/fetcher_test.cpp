#include "core/fetcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "core/utf.h"
#include "tests/support/loopback_server.h"
#include "tests/support/raw_server.h"

namespace talvo {
namespace {

using namespace std::chrono_literals;
using testing::LoopbackServer;
using testing::RawConnection;
using testing::RawServer;

constexpr std::string_view kListGbk =
    "\xB1\xB1\xBE\xA9\xCE\xC0\xCA\xD3\xB8\xDF\xC7\xE5\x0D\x0A\x68\x74\x74\x70\x3A\x2F\x2F\x78"
    "\x2F\x61\x0D\x0A";
constexpr std::u16string_view kListText = u"北京卫视高清\r\nhttp://x/a\r\n";

// Short limits keep the failure cases quick; the hang checks below allow far more than these.
FetchLimits QuickLimits() {
  FetchLimits limits;
  limits.connect = 1000ms;
  limits.total = 1500ms;
  return limits;
}

std::u16string Fetch(const std::string& url, const FetchLimits& limits = QuickLimits()) {
  return FetchPage(Utf8ToUtf16(url), u"gb2312", limits);
}
bool Unreachable(const std::string& url, const FetchLimits& limits = QuickLimits()) {
  return FetchPageReply(Utf8ToUtf16(url), u"gb2312", limits).unreachable;
}

class FetchPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& http = server_.http();
    http.Get("/list", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(std::string(kListGbk), "text/plain; charset=gb2312");
    });
    http.Get("/empty", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("", "text/plain");
    });
    http.Get("/broken", [](const httplib::Request&, httplib::Response& res) {
      res.status = 500;
      res.set_content("\xB4\xED\xCE\xF3 500", "text/html");  // "错误 500"
    });
    http.Get("/echo", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(req.target, "text/plain");
    });
    http.Get(R"(/hop/(\d+))", [this](const httplib::Request& req, httplib::Response& res) {
      const int left = std::stoi(req.matches[1]);
      if (left == 0) {
        res.set_content(std::string(kListGbk), "text/plain");
      } else {
        res.set_redirect(server_.Url("/hop/" + std::to_string(left - 1)));
      }
    });
    http.Get("/big", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(std::string(4096, 'x'), "text/plain");
    });
    http.Get("/big-chunked", [](const httplib::Request&, httplib::Response& res) {
      res.set_chunked_content_provider("text/plain", [](std::size_t, httplib::DataSink& sink) {
        const std::string chunk(1024, 'y');
        for (int i = 0; i < 4; ++i) sink.write(chunk.data(), chunk.size());
        sink.done();
        return true;
      });
    });
    server_.Start();
  }

  LoopbackServer server_;
};

// The body decoded with the given charset whatever the status, after at most five redirects.
TEST_F(FetchPageTest, TheBodyIsTheTextWhateverTheStatusAfterAtMostFiveRedirects) {
  const std::pair<const char*, std::u16string_view> rows[] = {{"/list", kListText},
                                                              {"/empty", u""},
                                                              {"/broken", u"错误 500"},
                                                              {"/hop/5", kListText},
                                                              {"/hop/6", u""}};
  for (const auto& [target, text] : rows) EXPECT_EQ(Fetch(server_.Url(target)), text) << target;
  EXPECT_EQ(FetchPage(Utf8ToUtf16(server_.Url("/list")), u"no-such-charset", QuickLimits()), u"");
}

TEST_F(FetchPageTest, BodyOverTheCapGivesTheEmptyText) {
  FetchLimits limits = QuickLimits();
  limits.body_cap = 4096;
  EXPECT_EQ(Fetch(server_.Url("/big"), limits), std::u16string(4096, u'x'));
  limits.body_cap = 4095;
  EXPECT_EQ(Fetch(server_.Url("/big"), limits), u"");          // announced length over the cap
  EXPECT_EQ(Fetch(server_.Url("/big-chunked"), limits), u"");  // no length announced
}

// Only a failure to reach the service at all is worth trying again later; whatever it answered
// is its answer.
TEST_F(FetchPageTest, AnAnswerOfAnyKindIsNotUnreachable) {
  FetchLimits capped = QuickLimits();
  capped.body_cap = 100;
  for (const char* target : {"/broken", "/empty", "/hop/6", "/big", "/list"}) {
    EXPECT_FALSE(Unreachable(server_.Url(target), capped)) << target;
  }
}

TEST_F(FetchPageTest, UrlReachesTheServerExactlyAsBuilt) {
  // Reserved characters in query values are the caller's business: nothing is re-encoded.
  EXPECT_EQ(Fetch(server_.Url("/echo?yh=a&b=c%26d&pw=x=y")), u"/echo?yh=a&b=c%26d&pw=x=y");
  // A fragment is never part of an HTTP request: the server sees what precedes "#".
  EXPECT_EQ(Fetch(server_.Url("/echo?yh=a#b&pw=c")), u"/echo?yh=a");
  // libcurl refuses a URL with a blank in it, so such a fetch gives the empty text; callers
  // percent-encode values so that a blank never reaches this point.
  EXPECT_EQ(Fetch(server_.Url("/echo?yh=a b")), u"");
  EXPECT_EQ(server_.Targets().back(), "/echo?yh=a");
}

TEST(FetchPageFailures, RefusedConnectionGivesTheEmptyText) {
  const int port = testing::UnusedPort();
  EXPECT_EQ(Fetch("http://127.0.0.1:" + std::to_string(port) + "/"), u"");
  EXPECT_TRUE(Unreachable("http://127.0.0.1:" + std::to_string(port) + "/"));
}

TEST(FetchPageFailures, NonHttpReplyGivesTheEmptyText) {
  RawServer server([](RawConnection& connection, const std::atomic<bool>&) {
    connection.ReadRequestHead();
    connection.Send("SSH-2.0-OpenSSH_9.2\r\nthis is not http at all\r\n");
  });
  EXPECT_EQ(Fetch(server.Url("/")), u"");
}

TEST(FetchPageFailures, ResetMidBodyGivesTheEmptyText) {
  RawServer server([](RawConnection& connection, const std::atomic<bool>&) {
    connection.ReadRequestHead();
    connection.Send("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n\xCE\xC0\xCA\xD3 partial");
    std::this_thread::sleep_for(50ms);
    connection.Reset();
  });
  EXPECT_EQ(Fetch(server.Url("/")), u"");
  EXPECT_TRUE(Unreachable(server.Url("/")));
}

// An https host whose certificate nobody signed: refused, certificate checks stay on.
TEST(FetchPageFailures, SelfSignedCertificateIsRefused) {
#ifndef CPPHTTPLIB_OPENSSL_SUPPORT
  GTEST_SKIP() << "no TLS server in this build's HTTP library";
#endif
  LoopbackServer server(LoopbackServer::kSelfSignedHttps);
  server.Serve("/", "secret", "text/plain");
  server.Start();
  EXPECT_EQ(Fetch(server.Url("/")), u"");
  EXPECT_TRUE(Unreachable(server.Url("/")));
}

// A reply that trickles forever (a byte at a time): only the total limit can end it.
void Trickle(RawConnection& connection, const std::atomic<bool>& stopping) {
  connection.ReadRequestHead();
  connection.Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n");
  while (!stopping && connection.Send("1\r\nx\r\n")) std::this_thread::sleep_for(20ms);
}

TEST(FetchPageFailures, NeverEndingReplyEndsAtTheTotalLimit) {
  RawServer server(Trickle);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Fetch(server.Url("/")), u"");
  EXPECT_LT(std::chrono::steady_clock::now() - start, 10s) << "the limit did not end the wait";
}

// Accepts, reads the request, and never says a word.
void Silent(RawConnection& connection, const std::atomic<bool>& stopping) {
  connection.ReadRequestHead();
  while (!stopping) std::this_thread::sleep_for(20ms);
}

TEST(FetchPageFailures, SwitchingFetchesOffEndsPendingOnesAndRefusesNewOnes) {
  for (const auto& script : {RawServer::Script(Trickle), RawServer::Script(Silent)}) {
    SetFetchesEnabled(true);  // the case before switched them off
    // Switched off once the fetch is on the wire, as the server tells: never before it.
    std::promise<void> connected;
    std::future<void> reached = connected.get_future();
    std::atomic<bool> told{false};
    RawServer server([&](RawConnection& connection, const std::atomic<bool>& stopping) {
      if (!told.exchange(true)) connected.set_value();
      script(connection, stopping);
    });
    FetchLimits patient;
    patient.total = 60s;
    std::thread stopper([&] {
      reached.wait_for(10s);
      SetFetchesEnabled(false);
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Fetch(server.Url("/"), patient), u"");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    stopper.join();
    EXPECT_TRUE(told) << "the fetch ended before it reached the server";
  }
  LoopbackServer fine;
  fine.Serve("/", "ok", "text/plain");
  fine.Start();
  EXPECT_EQ(Fetch(fine.Url("/")), u"");
  EXPECT_TRUE(fine.Targets().empty()) << "a refused fetch must not reach the network";
  SetFetchesEnabled(true);
  EXPECT_EQ(Fetch(fine.Url("/")), u"ok");
}

// The wait hook: the GUI runs its event loop in there, and handlers that run inside it can
// start fetches of their own.
class FetchWaitHookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Answered once the test lets it (bounded): the test, not a sleep, says when.
    server_.http().Get("/slow", [this](const httplib::Request&, httplib::Response& res) {
      std::unique_lock lock(gate_mutex_);
      gate_.wait_for(lock, 10s, [this] { return released_; });
      res.set_content("slow", "text/plain");
    });
    server_.Serve("/fast", "fast", "text/plain");
    server_.Start();
  }
  void TearDown() override {
    SetFetchWaitHook(nullptr);
    Release();
  }
  void Release() {
    std::lock_guard lock(gate_mutex_);
    released_ = true;
    gate_.notify_all();
  }

  std::mutex gate_mutex_;
  std::condition_variable gate_;
  bool released_ = false;
  LoopbackServer server_;  // after what its handler reads: stopped first
};

// Waits the way an event loop does: asleep until woken, never polling.
void SleepUntilWoken(FetchCompletion& completion) {
  std::mutex mutex;
  std::condition_variable woken;
  bool wake_called = false;
  completion.OnDone([&] {
    std::lock_guard lock(mutex);
    wake_called = true;
    woken.notify_all();
  });
  std::unique_lock lock(mutex);
  const bool in_time = woken.wait_for(lock, 10s, [&] { return wake_called; });
  EXPECT_TRUE(in_time) << "the transfer never woke its waiter";
  EXPECT_TRUE(completion.IsDone());
}

TEST_F(FetchWaitHookTest, HookIsWokenWhenTheTransferCompletes) {
  int waits = 0;
  SetFetchWaitHook([&](FetchCompletion& completion) {
    ++waits;
    Release();
    SleepUntilWoken(completion);
  });
  EXPECT_EQ(Fetch(server_.Url("/slow")), u"slow");
  EXPECT_EQ(waits, 1);
}

TEST_F(FetchWaitHookTest, FetchStartedInsideAWaitCompletesBeforeTheOuterOne) {
  std::vector<std::string> events;
  bool outer = true;
  SetFetchWaitHook([&](FetchCompletion& completion) {
    if (outer) {
      outer = false;
      // What a timer handler would do while the outer fetch waits.
      events.push_back("inner started");
      const std::u16string inner = Fetch(server_.Url("/fast"));
      events.push_back(inner == u"fast" ? "inner returned" : "inner failed");
      EXPECT_FALSE(completion.IsDone()) << "the outer reply should still be on its way";
      Release();
    }
    SleepUntilWoken(completion);
  });
  const std::u16string result = Fetch(server_.Url("/slow"));
  events.push_back(result == u"slow" ? "outer returned" : "outer failed");
  EXPECT_EQ(events,
            (std::vector<std::string>{"inner started", "inner returned", "outer returned"}));
}

TEST_F(FetchWaitHookTest, AHookThatThrowsLeavesTheCallerBlockedUntilTheReply) {
  SetFetchWaitHook([this](FetchCompletion&) {
    Release();
    throw std::runtime_error("the loop is gone");
  });
  EXPECT_EQ(Fetch(server_.Url("/slow")), u"slow");
}

}  // namespace
}  // namespace talvo
