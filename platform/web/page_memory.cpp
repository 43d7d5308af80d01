#include "platform/web/page_memory.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <utility>

namespace talvo {

std::uint64_t MemoryCeilingBytes(const std::filesystem::path& proc,
                                 const std::filesystem::path& cgroup) {
  std::uint64_t ceiling = std::numeric_limits<std::uint64_t>::max();
  std::ifstream meminfo(proc / "meminfo");
  for (std::string key; meminfo >> key;) {
    std::uint64_t kib = 0;
    if (key == "MemTotal:" && meminfo >> kib) {
      ceiling = kib * 1024;
      break;
    }
    meminfo.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  }
  // Every group the process is in, and every group above it, may set a limit: cgroup v2's
  // memory.max on its one line "0::/path", v1's memory.limit_in_bytes on the "memory" line.
  std::ifstream groups(proc / "self" / "cgroup");
  for (std::string line; std::getline(groups, line);) {
    const std::size_t first = line.find(':');
    const std::size_t second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    const std::string controllers = "," + line.substr(first + 1, second - first - 1) + ",";
    std::filesystem::path root;
    const char* file = nullptr;
    if (controllers == ",,") {
      root = cgroup;
      file = "memory.max";
    } else if (controllers.find(",memory,") != std::string::npos) {
      root = cgroup / "memory";
      file = "memory.limit_in_bytes";
    } else {
      continue;
    }
    for (std::filesystem::path group = line.substr(second + 1).substr(1);;
         group = group.parent_path()) {
      std::ifstream limit(root / group / file);
      std::uint64_t bytes = 0;
      if (limit >> bytes) ceiling = std::min(ceiling, bytes);  // "max" reads as no number
      if (group.empty()) break;
    }
  }
  return ceiling;
}

std::uint64_t PageMemoryLimitMiB(std::uint64_t ceiling_bytes) {
  return std::clamp<std::uint64_t>(ceiling_bytes / 4 / (1024 * 1024), 512, 4096);
}

std::string PageProcessTunables(std::optional<std::string_view> inherited) {
  static constexpr std::pair<std::string_view, std::string_view> kOurs[] = {
      {"glibc.malloc.arena_max", "2"},
      {"glibc.malloc.mmap_threshold", "33554432"},
      {"glibc.malloc.trim_threshold", "67108864"}};
  std::string tunables(inherited.value_or(""));
  // Tunables are "name=value" pairs joined by ":"; a name the user set keeps the user's value.
  const auto set_by_user = [&inherited](std::string_view name) {
    const std::string_view text = inherited.value_or("");
    for (std::size_t at = 0; at <= text.size();) {
      const std::size_t end = std::min(text.find(':', at), text.size());
      const std::string_view pair = text.substr(at, end - at);
      if (pair.substr(0, pair.find('=')) == name) return true;
      at = end + 1;
    }
    return false;
  };
  for (const auto& [name, value] : kOurs) {
    if (set_by_user(name)) continue;
    tunables += (tunables.empty() ? "" : ":") + std::string(name) + "=" + std::string(value);
  }
  return tunables;
}

}  // namespace talvo
