// Playback cost beside the decoder's own player and a browser: a 1280x720 H.264/AAC channel page
// in the client against GStreamer's playbin on the same file and Debian's Chromium in app mode on
// the same page, each showing its picture on the display. Measures
// the CPU-seconds of each whole process tree over 20 s of playing, and the client tree's PSS after
// the first channel and again after switching channels many times. The client runs once on the
// drawing path it chooses for this machine and once forced onto accelerated compositing, which
// is what it used everywhere before it chose.
// usage: bench_playback [RUNS=3] [SWITCHES=60] [only-auto]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench/process_tree.h"
#include "core/credential_file.h"
#include "platform/web/rendering_path_probe.h"
#include "tests/support/client_harness.h"

namespace {

namespace fs = std::filesystem;
using talvo::bench::Median;
using talvo::bench::PssByProcess;
using talvo::bench::TreeCpuSeconds;
using talvo::bench::TreePssKiB;
using talvo::e2e::ClientWindow;
using talvo::e2e::DemoService;
using talvo::e2e::Eventually;

constexpr auto kSettle = std::chrono::seconds(3);
constexpr auto kMeasured = std::chrono::seconds(20);
constexpr int kChannelRows = 6;  // the built-in channels: five play the file, one Media Source

void Sleep(std::chrono::milliseconds time) { std::this_thread::sleep_for(time); }

// CPU-seconds of the tree of `pid` over the measured span, once playing has settled.
double CpuOverMeasuredSpan(pid_t pid) {
  Sleep(kSettle);
  const double before = TreeCpuSeconds(pid);
  Sleep(kMeasured);
  return TreeCpuSeconds(pid) - before;
}

double GStreamerCpu(const fs::path& clip, const fs::path& work) {
  talvo::e2e::Process player(
      {"/usr/bin/env", "gst-launch-1.0", "-q", "playbin", "uri=file://" + clip.string()}, {},
      work / "gst.out", work / "gst.err");
  const double cpu = CpuOverMeasuredSpan(player.pid());
  if (!player.Running())
    throw std::runtime_error("gst-launch-1.0 stopped: see " + (work / "gst.err").string());
  player.Terminate();
  return cpu;
}

std::size_t CountRequests(DemoService& service, const std::string& prefix);

// What a viewer might use instead: Chromium in app mode on the channel's own page, autoplay
// allowed, in a window of the client's design size, from when it asks for the clip. Nothing when
// it is not installed (`make bench` installs it).
std::optional<double> ChromiumCpu(DemoService& service, const fs::path& work) {
  if (!fs::exists("/usr/bin/chromium")) return std::nullopt;
  std::vector<std::string> argv{"/usr/bin/chromium",
                                "--app=http://" + service.HostPort() + "/usbtv/bjwsgq.html",
                                "--user-data-dir=" + (work / "chromium").string(),
                                "--no-first-run",
                                "--no-default-browser-check",
                                "--password-store=basic",
                                "--autoplay-policy=no-user-gesture-required",
                                "--window-size=917,580"};
  if (::geteuid() == 0) argv.push_back("--no-sandbox");  // Chromium refuses root otherwise
  const std::size_t before = CountRequests(service, "/media/channel.mp4");
  talvo::e2e::Process browser(argv, {}, work / "chromium.out", work / "chromium.err");
  if (!Eventually([&] { return CountRequests(service, "/media/channel.mp4") > before; }, 30000)) {
    throw std::runtime_error("Chromium never asked for the clip: see " +
                             (work / "chromium.err").string());
  }
  const double cpu = CpuOverMeasuredSpan(browser.pid());
  if (!browser.Running())
    throw std::runtime_error("Chromium stopped: see " + (work / "chromium.err").string());
  browser.Terminate();
  return cpu;
}

std::size_t CountRequests(DemoService& service, const std::string& prefix) {
  const auto requests = service.Requests();
  return static_cast<std::size_t>(
      std::count_if(requests.begin(), requests.end(), [&](const auto& request) {
        return request.path.rfind(prefix, 0) == 0 && request.path.rfind("/usbtv/radio/", 0) != 0;
      }));
}

// Clicks the row until the service is asked for a page or a file under `prefix`: the first click
// can come before the list is filled.
bool ClickUntilRequested(ClientWindow& client, DemoService& service, int row,
                         const std::string& prefix) {
  const std::size_t before = CountRequests(service, prefix);
  for (int attempt = 0; attempt < 10; ++attempt) {
    client.ClickChannelRow(row);
    if (Eventually([&] { return CountRequests(service, prefix) > before; }, 2000)) return true;
  }
  return false;
}

struct ClientFigures {
  double cpu_seconds = 0;
  double first_mib = 0;
  double switched_mib = 0;
};

ClientFigures MeasureClient(const fs::path& work, DemoService& service, const char* acceleration,
                            int switches) {
  talvo::e2e::WriteConfig(work, service.HostPort(), service.HostPort(), service.HostPort());
  std::ofstream(work / "talvo.ini", std::ios::app)
      << "[view]\nacceleration = " << acceleration << "\n";
  ClientWindow client(work);
  if (!client.WaitMapped(30000)) throw std::runtime_error("the client's window never showed");
  if (!ClickUntilRequested(client, service, 0, "/media/channel.mp4")) {
    throw std::runtime_error("the first channel never asked for its clip");
  }
  ClientFigures figures;
  const pid_t pid = client.process().pid();
  figures.cpu_seconds = CpuOverMeasuredSpan(pid);
  figures.first_mib = TreePssKiB(pid) / 1024.0;
  std::printf("  %s, PSS by process (MiB) after the first channel: %s\n", acceleration,
              PssByProcess(pid).c_str());
  std::string trail;
  for (int i = 1; i <= switches; ++i) {
    if (!ClickUntilRequested(client, service, i % kChannelRows, "/usbtv/")) {
      throw std::runtime_error("switch " + std::to_string(i) + " loaded no page");
    }
    Sleep(std::chrono::seconds(1));
    // One round of every channel, each time: a steady level is not a leak, a climb is.
    if (i % kChannelRows == 0) trail += " " + std::to_string(TreePssKiB(pid) / 1024);
  }
  std::printf("  %s, PSS (MiB) after each round of the channels:%s\n", acceleration, trail.c_str());
  // Read as long after the last switch as the first reading was after the first channel: the
  // engine returns freed memory to the system in its own time.
  Sleep(kSettle + kMeasured);
  if (!client.process().Running()) throw std::runtime_error("the client ended while switching");
  figures.switched_mib = TreePssKiB(pid) / 1024.0;
  std::printf("  %s, after %d switches: %s\n", acceleration, switches, PssByProcess(pid).c_str());
  client.Close();
  client.WaitExit(10000);
  return figures;
}

// The demo's media, with the HD clip in place of its channel file.
fs::path MediaWithClip(const fs::path& work, const fs::path& clip) {
  const fs::path media = work / "media";
  fs::create_directories(media);
  for (const auto& entry : fs::directory_iterator(TALVO_DEMO_MEDIA_DIR)) {
    if (entry.path().filename() != "channel.mp4")
      fs::create_symlink(entry.path(), media / entry.path().filename());
  }
  fs::create_symlink(clip, media / "channel.mp4");
  return media;
}

struct Series {
  std::vector<double> cpu, first, switched;
  void Add(const ClientFigures& figures) {
    cpu.push_back(figures.cpu_seconds);
    first.push_back(figures.first_mib);
    switched.push_back(figures.switched_mib);
  }
};

void Report(const char* name, const Series& series, double gst_cpu, double chromium_cpu) {
  const double cpu = Median(series.cpu), first = Median(series.first),
               switched = Median(series.switched);
  std::printf(
      "median, client %s: %.2f CPU-s, %.2fx GStreamer (goal <= 2.00), %.2fx Chromium (goal <= "
      "1.00); PSS %.0f MiB after the first channel, %.0f MiB after the switches, %.2fx (goal <= "
      "1.15)\n",
      name, cpu, cpu / gst_cpu, chromium_cpu > 0 ? cpu / chromium_cpu : 0.0, first, switched,
      switched / first);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(std::atoi(argv[1]), 1) : 3;
  const int switches = argc > 2 ? std::max(std::atoi(argv[2]), 0) : 60;
  const bool with_accelerated = argc <= 3 || std::string(argv[3]) != "only-auto";
  const fs::path clip = TALVO_BENCH_CLIP;
  if (!fs::exists(clip)) {
    std::fprintf(stderr, "bench_playback: %s is missing; build the target bench_media\n",
                 clip.c_str());
    return 1;
  }
  const auto work = talvo::e2e::NewWorkDir("bench-playback");
  DemoService service(work, {"--media", MediaWithClip(work, clip).string()});
  talvo::WriteCredentialFile(work, u"demo_vip", u"vip888");

  const std::optional<std::string> renderer = talvo::ProbeGlRenderer();
  std::printf("GL renderer: %s; with acceleration = auto the views draw %s\n",
              renderer.value_or("none").c_str(),
              talvo::UseAcceleratedCompositing(talvo::Acceleration::kAuto, renderer)
                  ? "with accelerated compositing"
                  : "without accelerated compositing");

  std::vector<double> gst, chromium;
  Series chosen, accelerated;
  for (int i = 0; i < runs; ++i) {
    gst.push_back(GStreamerCpu(clip, work));
    if (const std::optional<double> cpu = ChromiumCpu(service, work)) chromium.push_back(*cpu);
    chosen.Add(MeasureClient(work, service, "auto", switches));
    if (with_accelerated) accelerated.Add(MeasureClient(work, service, "on", switches));
    std::printf(
        "run %d: GStreamer %.2f CPU-s; Chromium %.2f CPU-s; client, auto: %.2f CPU-s, "
        "%.0f -> %.0f MiB",
        i + 1, gst.back(), chromium.empty() ? 0.0 : chromium.back(), chosen.cpu.back(),
        chosen.first.back(), chosen.switched.back());
    if (with_accelerated) {
      std::printf("; client, on: %.2f CPU-s, %.0f -> %.0f MiB", accelerated.cpu.back(),
                  accelerated.first.back(), accelerated.switched.back());
    }
    std::printf("\n");
    std::fflush(stdout);
  }
  const double gst_cpu = Median(gst);
  const double chromium_cpu = chromium.empty() ? 0.0 : Median(chromium);
  std::printf(
      "median, GStreamer playbin: %.2f CPU-s in %lld s; Chromium (app mode): %.2f CPU-s, "
      "%.2fx GStreamer\n",
      gst_cpu, static_cast<long long>(kMeasured.count()), chromium_cpu, chromium_cpu / gst_cpu);
  if (chromium.empty()) std::printf("(Chromium is not installed: make bench installs it)\n");
  Report("auto (this machine's choice)", chosen, gst_cpu, chromium_cpu);
  if (with_accelerated) Report("on (accelerated compositing)", accelerated, gst_cpu, chromium_cpu);
  return 0;
}
