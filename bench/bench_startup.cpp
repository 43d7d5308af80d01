// Start-up beside the floor of the stack: process start to main window mapped (the channel list
// is filled before the window shows), and the peak memory of the whole process tree (client
// plus WebKit's processes) over the first seconds. Runs each program several times, in turns.
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "tests/e2e/harness.h"

namespace {

using Clock = std::chrono::steady_clock;
using talvo::e2e::Shell;

// Resident memory of `root` and all its descendants, in KiB.
long TreeRssKiB(pid_t root) {
  std::multimap<pid_t, pid_t> children;
  DIR* proc = opendir("/proc");
  for (dirent* entry; proc != nullptr && (entry = readdir(proc)) != nullptr;) {
    const pid_t pid = std::atoi(entry->d_name);
    if (pid <= 0) continue;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto close = line.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(line.substr(close + 2));
    char state = 0;
    pid_t parent = 0;
    rest >> state >> parent;
    children.emplace(parent, pid);
  }
  if (proc != nullptr) closedir(proc);
  long total = 0;
  std::vector<pid_t> todo = {root};
  while (!todo.empty()) {
    const pid_t pid = todo.back();
    todo.pop_back();
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
      if (line.rfind("VmRSS:", 0) == 0) total += std::atol(line.c_str() + 6);
    }
    const auto [first, last] = children.equal_range(pid);
    for (auto it = first; it != last; ++it) todo.push_back(it->second);
  }
  return total;
}

struct Sample {
  double mapped_ms = 0;
  long peak_kib = 0;
};

bool Mapped(pid_t pid) {
  std::istringstream ids(Shell("xdotool search --onlyvisible --pid " + std::to_string(pid) + " 2>/dev/null"));
  for (std::string id; ids >> id;) {
    if (Shell("xprop -id " + id + " _NET_WM_NAME 2>/dev/null").find("V2.02") != std::string::npos) return true;
  }
  return false;
}

Sample Measure(const std::vector<std::string>& argv, const std::filesystem::path& app_dir) {
  Sample sample;
  const auto start = Clock::now();
  talvo::e2e::Process process(argv, {{"TALVO_APP_DIR", app_dir.string()}}, app_dir / "out", app_dir / "err");
  bool mapped = false;
  Clock::time_point mapped_at;
  // Memory keeps growing while WebKit's processes settle: sample for 4 s after the window shows.
  while (Clock::now() - start < std::chrono::seconds(30)) {
    sample.peak_kib = std::max(sample.peak_kib, TreeRssKiB(process.pid()));
    if (!mapped && Mapped(process.pid())) {
      mapped = true;
      mapped_at = Clock::now();
      sample.mapped_ms = std::chrono::duration<double, std::milli>(mapped_at - start).count();
    }
    if (mapped && Clock::now() - mapped_at > std::chrono::seconds(4)) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return sample;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
  const auto work = talvo::e2e::NewWorkDir("bench-startup");
  talvo::e2e::DemoService service(work);
  talvo::e2e::WriteConfig(work, service.HostPort(), service.HostPort(), service.HostPort());
  const std::string client = (talvo::e2e::BuildDir() / "talvo").string();
  const std::string baseline = (talvo::e2e::BuildDir() / "bench" / "baseline_frame").string();

  std::vector<double> client_ms, baseline_ms, client_mib, baseline_mib;
  for (int i = 0; i < runs; ++i) {
    const Sample b = Measure({baseline}, work);
    const Sample c = Measure({client}, work);
    baseline_ms.push_back(b.mapped_ms);
    client_ms.push_back(c.mapped_ms);
    baseline_mib.push_back(b.peak_kib / 1024.0);
    client_mib.push_back(c.peak_kib / 1024.0);
    std::printf("run %d: client %.0f ms %.0f MiB, baseline %.0f ms %.0f MiB\n", i + 1, c.mapped_ms,
                c.peak_kib / 1024.0, b.mapped_ms, b.peak_kib / 1024.0);
  }
  const double cm = Median(client_ms), bm = Median(baseline_ms);
  const double cr = Median(client_mib), br = Median(baseline_mib);
  std::printf("median start-up: client %.0f ms, baseline %.0f ms, ratio %.2f (goal <= 1.15)\n", cm, bm, cm / bm);
  std::printf("median peak memory: client %.0f MiB, baseline %.0f MiB, ratio %.2f (goal <= 1.20)\n", cr, br, cr / br);
  return 0;
}
