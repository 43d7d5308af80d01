// Channel switches: from a click on a channel row to the page's media playing, in the client and
// in a plain engine view beside a list of rows (bare_switch_view, the engine's defaults, its HTTP
// cache included), runs of each in turn on the same six pages. Each page's player tells the
// bench's server when it plays. Per run the median of SWITCHES clicks (the first click of a run,
// which starts the page process, is not counted); per pair of runs the client's median over the
// plain view's. Goal: the median ratio no higher than before the pages' context lost its HTTP
// cache (0.96-1.19 then, one run each).
// usage: bench_switch [RUNS=5] [SWITCHES=10]
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/client_harness.h"
#include "tests/support/loopback_server.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using talvo::e2e::ClientWindow;
using talvo::e2e::DemoService;

const char* const kPages[] = {"bjwsgq.html", "gdwsgq.html", "jswsgq.html",
                              "szwsgq.html", "sjwsgq.html", "hljgq.html"};

// The bench's channel host: six channel pages on one clip, each telling when its video plays.
class ChannelPages {
 public:
  explicit ChannelPages(std::string clip) {
    for (const char* page : kPages) {
      server_.Serve(std::string("/usbtv/") + page,
                    "<!DOCTYPE html><html><body style=\"margin:0;background:#000\">"
                    "<video autoplay src=\"/clip.mp4\" style=\"width:100%\"></video><script>"
                    "document.querySelector('video').addEventListener('playing',"
                    "()=>fetch('/played?'+location.pathname),{once:true});</script></body></html>");
    }
    server_.Serve("/clip.mp4", std::move(clip), "video/mp4");
    server_.http().Get("/played", [this](const httplib::Request& request, httplib::Response&) {
      const std::lock_guard lock(mutex_);
      played_[request.params.begin() == request.params.end() ? "" : request.params.begin()->first] =
          Clock::now();
      told_.notify_all();
    });
    server_.Start();
  }

  std::string HostPort() const { return server_.HostPort(); }
  std::string Url(const char* page) const { return server_.Url(std::string("/usbtv/") + page); }

  // The moment `page` told it plays, if it did after `since` within 15 s.
  std::optional<Clock::time_point> WaitPlayed(const char* page, Clock::time_point since) {
    std::unique_lock lock(mutex_);
    const std::string path = std::string("/usbtv/") + page;
    if (!told_.wait_for(lock, std::chrono::seconds(15),
                        [&] { return played_.count(path) && played_[path] > since; })) {
      return std::nullopt;
    }
    return played_[path];
  }

 private:
  talvo::testing::LoopbackServer server_;
  std::mutex mutex_;
  std::condition_variable told_;
  std::map<std::string, Clock::time_point> played_;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// Clicks row after row with `click` and returns the median time to playing in ms; nothing when a
// page never played.
std::optional<double> MedianSwitch(ChannelPages& pages, int switches,
                                   const std::function<void(int)>& click) {
  std::vector<double> ms;
  for (int i = 0; i <= switches; ++i) {
    const int row = i % 6;
    const Clock::time_point clicked = Clock::now();
    click(row);
    const auto played = pages.WaitPlayed(kPages[row], clicked);
    if (!played) return std::nullopt;
    if (i > 0) ms.push_back(std::chrono::duration<double, std::milli>(*played - clicked).count());
    std::this_thread::sleep_for(std::chrono::seconds(1));  // a viewer looks before the next click
  }
  return Median(ms);
}

std::optional<double> RunClient(const fs::path& work, DemoService& service, ChannelPages& pages,
                                int switches) {
  talvo::e2e::WriteConfig(work, service.HostPort(), service.HostPort(), pages.HostPort());
  ClientWindow client(work);
  if (!client.WaitMapped(30000)) return std::nullopt;
  // The first clicks may come before the list is filled.
  for (int attempt = 0; attempt < 10; ++attempt) {
    const Clock::time_point clicked = Clock::now();
    client.ClickChannelRow(5);
    if (pages.WaitPlayed(kPages[5], clicked)) break;
  }
  const auto median = MedianSwitch(pages, switches, [&](int row) { client.ClickChannelRow(row); });
  client.Close();
  client.WaitExit(10000);
  return median;
}

std::optional<double> RunBare(const fs::path& work, ChannelPages& pages, int switches) {
  std::vector<std::string> argv = {(fs::path(TALVO_BUILD_DIR) / "bench/bare_switch_view").string()};
  for (const char* page : kPages) argv.push_back(pages.Url(page));
  const fs::path rows_file = work / "bare.out";
  talvo::e2e::Process bare(argv, {}, rows_file, work / "bare.err");
  std::vector<int> middles;
  talvo::e2e::Eventually(
      [&] {
        std::ifstream rows(rows_file);
        middles.assign(std::istream_iterator<int>(rows), std::istream_iterator<int>());
        return middles.size() == 6;
      },
      30000);
  const std::string window =
      talvo::e2e::Shell("xdotool search --sync --onlyvisible --name 'bare switch view' | head -1");
  if (middles.size() != 6 || window.empty()) return std::nullopt;
  const std::string id = window.substr(0, window.find('\n'));
  const auto click = [&](int row) {
    talvo::e2e::Shell("xdotool windowactivate --sync " + id + " mousemove --window " + id + " 40 " +
                      std::to_string(middles[row]) + " click 1 2>/dev/null");
  };
  click(5);
  if (!pages.WaitPlayed(kPages[5], Clock::now() - std::chrono::seconds(30))) return std::nullopt;
  const auto median = MedianSwitch(pages, switches, click);
  bare.Terminate();
  return median;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(std::atoi(argv[1]), 1) : 5;
  const int switches = argc > 2 ? std::max(std::atoi(argv[2]), 1) : 10;
  std::ifstream clip_file(fs::path(TALVO_DEMO_MEDIA_DIR) / "channel.mp4", std::ios::binary);
  ChannelPages pages(std::string(std::istreambuf_iterator<char>(clip_file), {}));
  const auto work = talvo::e2e::NewWorkDir("bench-switch");
  DemoService service(work);
  std::vector<double> client_ms, bare_ms, ratios;
  for (int run = 0; run < runs; ++run) {
    const auto client = RunClient(work, service, pages, switches);
    const auto bare = RunBare(work, pages, switches);
    if (!client || !bare) {
      std::fprintf(stderr, "bench_switch: a page never played (run %d: client %s, plain view %s)\n",
                   run + 1, client ? "ok" : "failed", bare ? "ok" : "failed");
      return 1;
    }
    client_ms.push_back(*client);
    bare_ms.push_back(*bare);
    ratios.push_back(*client / *bare);
    std::printf(
        "run %d: click to playing, median of %d: client %.0f ms, plain view %.0f ms, %.2f\n",
        run + 1, switches, *client, *bare, ratios.back());
    std::fflush(stdout);
  }
  std::printf(
      "click to playing over %d runs: client %.0f ms, plain view %.0f ms, median ratio %.2f "
      "(lowest %.2f, highest %.2f)\n",
      runs, Median(client_ms), Median(bare_ms), Median(ratios),
      *std::min_element(ratios.begin(), ratios.end()),
      *std::max_element(ratios.begin(), ratios.end()));
  return 0;
}
