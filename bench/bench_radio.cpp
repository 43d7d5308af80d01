// Long listening: an endless 128 kbit/s MP3 station, served as an Icecast server serves one,
// playing in the client on the real engine. Reads the process tree's PSS, each process's own
// anonymous memory and the open files each minute. The goal: from minute 5 on, the tree's
// anonymous memory grows at most 10 MiB in 55 minutes (its least-squares slope at most
// 10.9 MiB an hour), and the open files do not grow.
// usage: bench_radio [MINUTES=20]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/process_tree.h"
#include "core/credential_file.h"
#include "tests/support/client_harness.h"

namespace {

namespace fs = std::filesystem;
using talvo::bench::PssByProcess;
using talvo::e2e::ClientWindow;
using talvo::e2e::DemoService;

}  // namespace

int main(int argc, char** argv) {
  const int minutes = argc > 1 ? std::max(std::atoi(argv[1]), 7) : 20;
  const auto work = talvo::e2e::NewWorkDir("bench-radio");
  // The demo's data with the endless station alone in the station list: its first row.
  const fs::path data = work / "data";
  fs::create_directories(data);
  for (const char* file : {"accounts.txt", "programmes.txt", "bulletins.txt"}) {
    fs::copy_file(fs::path(TALVO_SOURCE_DIR) / "demo/data" / file, data / file);
  }
  std::ofstream(data / "stations.txt") << "环球音乐广播\thqyy.html\t392\tmp3\n";
  DemoService service(work, {"--data", data.string()});
  talvo::WriteCredentialFile(work, u"demo_vip", u"vip888");
  talvo::e2e::WriteConfig(work, service.HostPort(), service.HostPort(), service.HostPort());
  ClientWindow client(work);
  if (!client.WaitMapped(30000)) {
    std::fprintf(stderr, "bench_radio: the client's window never showed\n");
    return 1;
  }
  client.ClickRadioMenu();
  bool playing = false;
  for (int attempt = 0; attempt < 10 && !playing; ++attempt) {
    client.ClickStationRow(0);
    playing = service.WaitForRequest("/stream/hqyy.mp3", 3000);
  }
  if (!playing) {
    std::fprintf(stderr, "bench_radio: the station never asked for its stream\n");
    return 1;
  }
  const pid_t pid = client.process().pid();
  const auto start = std::chrono::steady_clock::now();
  long first_kib = 0, first_anon = 0, first_files = 0, last_kib = 0, last_anon = 0, last_files = 0;
  std::vector<double> at, anonymous;  // from minute 5: the minute, the tree's MiB
  for (int minute = 1; minute <= minutes; ++minute) {
    std::this_thread::sleep_until(start + std::chrono::minutes(minute));
    if (!client.process().Running()) {
      std::fprintf(stderr, "bench_radio: the client ended while playing\n");
      return 1;
    }
    last_kib = talvo::bench::TreePssKiB(pid);
    last_anon = talvo::bench::TreeAnonPssKiB(pid);
    last_files = talvo::bench::TreeOpenFiles(pid);
    if (minute == 1) {
      first_kib = last_kib;
      first_anon = last_anon;
      first_files = last_files;
    }
    long tree_anonymous = 0;
    std::string by_process;
    for (const auto& [name, kib] : talvo::bench::TreeAnonymousKiBByName(pid)) {
      tree_anonymous += kib;
      by_process += (by_process.empty() ? "" : ", ") + name + " " + std::to_string(kib / 1024);
    }
    if (minute >= 5) {
      at.push_back(minute);
      anonymous.push_back(tree_anonymous / 1024.0);
    }
    std::printf("minute %2d: PSS %.1f MiB (%s), anonymous %.1f MiB (%s), %ld open files\n", minute,
                last_kib / 1024.0, PssByProcess(pid).c_str(), tree_anonymous / 1024.0,
                by_process.c_str(), last_files);
    std::fflush(stdout);
  }
  const double grown_mib = (last_kib - first_kib) / 1024.0;
  std::printf(
      "endless MP3 station, minute 1 -> %d: PSS %.1f -> %.1f MiB, %+.1f MiB (goal <= +3.0), "
      "anonymous %+.1f MiB; open files %ld -> %ld (goal: no more)\n",
      minutes, first_kib / 1024.0, last_kib / 1024.0, grown_mib, (last_anon - first_anon) / 1024.0,
      first_files, last_files);
  const double per_hour = talvo::bench::Slope(at, anonymous) * 60;
  std::printf(
      "anonymous memory from minute 5 to %d: %.1f -> %.1f MiB, slope %+.1f MiB an hour "
      "(goal <= +10.9)\n",
      minutes, anonymous.front(), anonymous.back(), per_hour);
  client.Close();
  client.WaitExit(10000);
  return 0;
}
