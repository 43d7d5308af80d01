#include "bench/process_tree.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace talvo::bench {
namespace {

// The fields of /proc/PID/stat after the command name, which may itself hold blanks and ")".
std::istringstream StatFields(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  const auto close = line.rfind(')');
  return std::istringstream(close == std::string::npos ? std::string() : line.substr(close + 2));
}

}  // namespace

std::vector<pid_t> ProcessTree(pid_t root) {
  std::multimap<pid_t, pid_t> children;
  if (DIR* proc = opendir("/proc")) {
    for (dirent* entry; (entry = readdir(proc)) != nullptr;) {
      const pid_t pid = std::atoi(entry->d_name);
      if (pid <= 0) continue;
      std::istringstream fields = StatFields(pid);
      char state = 0;
      pid_t parent = 0;
      if (fields >> state >> parent) children.emplace(parent, pid);
    }
    closedir(proc);
  }
  std::vector<pid_t> tree = {root};
  for (std::size_t i = 0; i < tree.size(); ++i) {
    const auto [first, last] = children.equal_range(tree[i]);
    for (auto it = first; it != last; ++it) tree.push_back(it->second);
  }
  return tree;
}

namespace {

// One line of smaps_rollup, "Pss:" or "Pss_Anon:", by process name.
std::map<std::string, long> RollupKiBByName(pid_t root, const std::string& field) {
  std::map<std::string, long> by_name;
  for (const pid_t pid : ProcessTree(root)) {
    std::string name;
    std::getline(std::ifstream("/proc/" + std::to_string(pid) + "/comm"), name);
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    for (std::string line; std::getline(rollup, line);) {
      if (line.rfind(field, 0) == 0) by_name[name] += std::atol(line.c_str() + field.size());
    }
  }
  return by_name;
}

}  // namespace

std::map<std::string, long> TreePssKiBByName(pid_t root) { return RollupKiBByName(root, "Pss:"); }

std::map<std::string, long> TreeAnonymousKiBByName(pid_t root) {
  return RollupKiBByName(root, "Anonymous:");
}

double Slope(const std::vector<double>& at, const std::vector<double>& values) {
  const double n = static_cast<double>(at.size());
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (std::size_t i = 0; i < at.size(); ++i) {
    sx += at[i];
    sy += values[i];
    sxx += at[i] * at[i];
    sxy += at[i] * values[i];
  }
  return (n * sxy - sx * sy) / (n * sxx - sx * sx);
}

std::string PssByProcess(pid_t root) {
  std::string text;
  for (const auto& [name, kib] : TreePssKiBByName(root)) {
    text += (text.empty() ? "" : ", ") + name + " " + std::to_string(kib / 1024);
  }
  return text;
}

long TreeAnonPssKiB(pid_t root) {
  long total = 0;
  for (const auto& [name, kib] : RollupKiBByName(root, "Pss_Anon:")) total += kib;
  return total;
}

long TreePssKiB(pid_t root) {
  long total = 0;
  for (const auto& [name, kib] : TreePssKiBByName(root)) total += kib;
  return total;
}

long TreeOpenFiles(pid_t root) {
  long open = 0;
  for (const pid_t pid : ProcessTree(root)) {
    if (DIR* fds = opendir(("/proc/" + std::to_string(pid) + "/fd").c_str())) {
      for (dirent* entry; (entry = readdir(fds)) != nullptr;) open += entry->d_name[0] != '.';
      closedir(fds);
    }
  }
  return open;
}

double TreeCpuSeconds(pid_t root) {
  long long ticks = 0;
  for (const pid_t pid : ProcessTree(root)) {
    std::istringstream fields = StatFields(pid);
    // utime and stime are the 12th and 13th fields after the name.
    std::string skipped;
    for (int i = 0; i < 11 && fields >> skipped; ++i) {
    }
    long long user = 0, system = 0;
    if (fields >> user >> system) ticks += user + system;
  }
  return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double Quantile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1) + 0.5)];
}

}  // namespace talvo::bench
