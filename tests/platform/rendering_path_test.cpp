#include "platform/web/rendering_path.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <string>

#ifndef _WIN32
#include <signal.h>
#include <unistd.h>
#endif

#include "platform/config.h"

namespace talvo {
namespace {

// The GL renderer strings are as drivers report them: Mesa without a GPU, Mesa on Intel and AMD,
// NVIDIA's own, a virtual machine's passed-through GPU, Windows' software device behind WSL.
TEST(RenderingPath, AcceleratedOnlyWhereAGpuDrawsUnlessTalvoIniSays) {
  struct Row {
    const char* ini;
    std::optional<std::string> renderer;
    bool accelerated;
  };
  const Row rows[] = {
      {"", "llvmpipe (LLVM 15.0.6, 256 bits)", false},
      {"", "softpipe", false},
      {"", "Mesa DRI swrast", false},
      {"", "Google SwiftShader", false},
      {"", "D3D12 (Microsoft Basic Render Driver)", false},
      {"", "zink (llvmpipe (LLVM 15.0.6, 256 bits))", false},
      {"", std::nullopt, false},
      {"", "", false},
      {"", "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", true},
      {"", "AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-18-amd64)", true},
      {"", "NVIDIA GeForce GTX 1650/PCIe/SSE2", true},
      {"", "virgl (Intel(R) UHD Graphics 630)", true},
      {"[view]\nacceleration = on\n", "llvmpipe (LLVM 15.0.6, 256 bits)", true},
      {"[view]\nacceleration = ON\n", std::nullopt, true},
      {"[view]\nacceleration = off\n", "NVIDIA GeForce GTX 1650/PCIe/SSE2", false},
      {"[view]\nacceleration = auto\n", "NVIDIA GeForce GTX 1650/PCIe/SSE2", true},
      // A value it does not know, or the key outside its section, leaves the choice to the machine.
      {"[view]\nacceleration = maybe\n", "llvmpipe (LLVM 15.0.6, 256 bits)", false},
      {"[service]\nacceleration = on\n", "llvmpipe (LLVM 15.0.6, 256 bits)", false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(UseAcceleratedCompositing(ParseConfig(row.ini).acceleration, row.renderer),
              row.accelerated)
        << row.ini << " / " << row.renderer.value_or("(no GL)");
  }
}

#ifndef _WIN32
// The probe's child as drivers leave it: answered, failed, crashed, or stuck in a driver call.
TEST(RenderingPath, TheProbesAnswerCountsOnlyWhenItEndsWellAndItsWaitIsBounded) {
  struct Row {
    const char* name;
    const char* wrote;
    enum { kExit0, kExit1, kAbort, kHang } then;
    std::optional<std::string> answer;
  };
  const Row rows[] = {
      {"answered", "AMD Radeon RX 6600", Row::kExit0, "AMD Radeon RX 6600"},
      {"no context", "", Row::kExit1, std::nullopt},
      {"nothing said", "", Row::kExit0, std::nullopt},
      {"failed after writing", "llvmpipe", Row::kExit1, std::nullopt},
      {"crashed", "llvmpipe", Row::kAbort, std::nullopt},
      {"stuck before a word", "", Row::kHang, std::nullopt},
      {"stuck after half a word", "NVIDIA GeF", Row::kHang, std::nullopt},
  };
  for (const Row& row : rows) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(ends[0]);
      if (::write(ends[1], row.wrote, std::strlen(row.wrote)) < 0) ::_exit(2);
      if (row.then == Row::kAbort) std::abort();
      if (row.then == Row::kHang) ::pause();
      ::_exit(row.then == Row::kExit0 ? 0 : 1);
    }
    ::close(ends[1]);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ProbeAnswer(child, ends[0], std::chrono::milliseconds(300)), row.answer) << row.name;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << row.name;
    EXPECT_NE(::kill(child, 0), 0) << row.name << ": the probe was left running or unreaped";
  }
}
#endif

}  // namespace
}  // namespace talvo
