// What the page processes may use of the machine: their memory limit, from what this process
// may use, and their heap settings. Plain functions, tested without the engine.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace talvo {

// The memory this process may use: the machine's (MemTotal of `proc`/meminfo), or less where the
// control group it runs in, or one above that, has a smaller limit (cgroup v2's memory.max under
// `cgroup`, v1's memory.limit_in_bytes under `cgroup`/memory). Folders of a test's own stand for
// /proc and /sys/fs/cgroup.
std::uint64_t MemoryCeilingBytes(const std::filesystem::path& proc = "/proc",
                                 const std::filesystem::path& cgroup = "/sys/fs/cgroup");

// The page processes' memory limit: a quarter of that ceiling, between 512 MiB and 4 GiB.
std::uint64_t PageMemoryLimitMiB(std::uint64_t ceiling_bytes);

// GLIBC_TUNABLES for the page processes, from the value this process inherited (nothing when
// unset). A playing channel's decoder threads take their video frames from glibc's per-thread
// heaps; each channel switch starts new threads, and the frames freed in the old heaps stayed
// with the page process: 60 switches left it about 60 MiB larger (WebKitGTK 2.50, glibc 2.36). Two
// heaps in all keep that memory in use, and a fixed mmap threshold of 32 MiB keeps frames up to 4K
// in the heaps instead of mapping and faulting in fresh pages for every frame. Fixing it also turns
// off glibc's rule that raises the trim threshold with it, so a freed frame at the top of a heap
// went back to the system and the next came back as fresh pages, two thirds of the page process's
// page faults while playing; the trim threshold is twice the mmap threshold, as that rule would
// make it. A tunable the user set keeps the user's value; the user's others are kept.
std::string PageProcessTunables(std::optional<std::string_view> inherited);

// Sets that value in this process's environment, which the engine's processes inherit when the
// first view starts them. This process's own heap keeps the settings it started with.
void PreparePageProcessTunables();

}  // namespace talvo
