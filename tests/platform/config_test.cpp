#include "platform/config.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

#include "platform/skin.h"
#include "platform/twips.h"
#include "platform/web/rendering_path.h"
#include "tests/support/scratch.h"

namespace talvo {
namespace {

TEST(ParseConfig, ReadsBothSectionsAndKeepsDefaultsForTheRest) {
  const Config config = ParseConfig(
      "; demo service\n"
      "[service]\r\n"
      "  primary_host = 127.0.0.1:8080  \r\n"
      "tv_host=http://tv.local:81/\n"
      "report_email = 报错@example.com\n"
      "unknown = 1\n"
      "[network]\n"
      "connect_timeout_ms = 750\n"
      "request_timeout_ms = soon\n"
      "no equals sign here\n");
  EXPECT_EQ(config.primary_host, u"127.0.0.1:8080");
  EXPECT_EQ(config.tv_host, u"http://tv.local:81/");
  EXPECT_EQ(config.report_email, u"报错@example.com");
  EXPECT_EQ(config.channel_host, Config{}.channel_host);
  EXPECT_EQ(config.connect_timeout, std::chrono::milliseconds(750));
  EXPECT_EQ(config.request_timeout, Config{}.request_timeout);
}

TEST(ParseConfig, KeysOutsideTheirSectionAndNonPositiveLimitsAreIgnored) {
  const Config config = ParseConfig(
      "primary_host = stray\n[network]\nprimary_host = wrong\nconnect_timeout_ms = 0\n"
      "request_timeout_ms = -5\n");
  EXPECT_EQ(config.primary_host, Config{}.primary_host);
  EXPECT_EQ(config.connect_timeout, Config{}.connect_timeout);
  EXPECT_EQ(config.request_timeout, Config{}.request_timeout);
}

// The GL renderer strings are as drivers report them: Mesa without a GPU, Mesa on Intel and AMD,
// NVIDIA's own, a virtual machine's passed-through GPU, Windows' software device behind WSL.
TEST(ParseConfig, TheProxyIsTheSystemsNoneOrAHostAndPortAndAnythingElseKeepsTheSystems) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "system"},
      {"proxy = none", "none"},
      {"proxy = NONE", "none"},
      {"proxy = http://127.0.0.1:3128", "http://127.0.0.1:3128"},
      {"proxy = SOCKS5://Proxy.Example:1080/", "socks5://proxy.example:1080"},
      {"proxy = http://[::1]:8080", "http://[::1]:8080"},
      {"proxy = http://proxy.example", "system"},             // no port
      {"proxy = http://proxy.example:0", "system"},           //
      {"proxy = http://proxy.example:70000", "system"},       //
      {"proxy = http://user:pw@proxy.example:80", "system"},  // credentials
      {"proxy = http://proxy.example:80/path", "system"},     //
      {"proxy = https://proxy.example:443", "system"},        // not a scheme both can use
      {"proxy = proxy.example:3128", "system"},               //
      {"proxy = http://::1:8080", "system"},                  // IPv6 without brackets
  };
  for (const auto& [line, proxy] : cases) {
    EXPECT_EQ(ParseConfig(std::string("[network]\n") + line).proxy, proxy) << line;
  }
}

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

// real.she is read line for line like talvo.ini, except that a skin has no sections.
TEST(ParseSkinFile, TakesValidColoursWhereverTheyStandAndNothingWithoutOne) {
  const std::optional<SkinScheme> scheme = ParseSkinFile(
      "; blue skin\r\n[any]\r\n window = #102030 \r\n# text = #FFFFFF\ntext=#ABCDEF\n"
      "button = 123456\nbutton_text = #12345G\n");
  ASSERT_TRUE(scheme.has_value());
  EXPECT_EQ(scheme->window, 0x102030u);
  EXPECT_EQ(scheme->text, 0xABCDEFu);
  EXPECT_EQ(scheme->button, SkinScheme{}.button);
  EXPECT_EQ(scheme->button_text, SkinScheme{}.button_text);
  for (const std::string_view broken : {"", "window = red\n", "= #102030\n", "\x01\xFF\xFE=\n"}) {
    EXPECT_FALSE(ParseSkinFile(broken).has_value()) << broken;
  }
}

void SetEnv(const char* name, const std::filesystem::path& value) {
#ifdef _WIN32
  _putenv_s(name, value.string().c_str());  // an empty value removes it
#else
  if (value.empty()) {
    ::unsetenv(name);
  } else {
    ::setenv(name, value.c_str(), 1);
  }
#endif
}

std::filesystem::path ExecutableFolder() {
#ifdef _WIN32
  wchar_t path[MAX_PATH];
  return std::filesystem::path(std::wstring(path, GetModuleFileNameW(nullptr, path, MAX_PATH)))
      .parent_path();
#else
  return std::filesystem::read_symlink("/proc/self/exe").parent_path();
#endif
}

TEST(AppFolder, EnvironmentVariableThenTheExecutableFolderThenThePerUserOne) {
  const testing::TempFolder work("app-folder");
  SetEnv("TALVO_APP_DIR", work / "chosen");
  EXPECT_EQ(AppFolder(), work / "chosen");
  SetEnv("TALVO_APP_DIR", "");
  // The test binary's own folder is writable in a build tree.
  EXPECT_EQ(AppFolder(), ExecutableFolder());
  // A folder that takes no file (here: none at all) gives the per-user one, made.
#ifdef _WIN32
  SetEnv("APPDATA", work / "roaming");
  const std::filesystem::path per_user = work / "roaming" / "talvo";
#else
  SetEnv("XDG_DATA_HOME", work / "data");
  const std::filesystem::path per_user = work / "data" / "talvo";
#endif
  EXPECT_EQ(AppFolderFor(work / "missing"), per_user);
  EXPECT_TRUE(std::filesystem::is_directory(per_user));
  // One that cannot be made (a file is in the way) is said.
  std::filesystem::remove_all(per_user);
  std::ofstream(per_user) << "x";
  ::testing::internal::CaptureStderr();
  AppFolderFor(work / "missing");
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("could not be made"), std::string::npos);
  SetEnv("APPDATA", "");
  SetEnv("XDG_DATA_HOME", "");
}

TEST(LoadConfig, MissingFileGivesTheDefaultsAndOnlyTheHeadOfAHugeFileIsRead) {
  EXPECT_EQ(LoadConfig("/nonexistent-folder").tv_host, Config{}.tv_host);

  const testing::TempFolder folder("config");
  {
    std::ofstream out(folder / "talvo.ini", std::ios::binary);
    out << "[service]\nprimary_host = head.test\n"
        << std::string(70 * 1024, ';') << "\n"
        << "tv_host = tail.test\n";
  }
  const Config config = LoadConfig(folder);
  EXPECT_EQ(config.primary_host, u"head.test");
  EXPECT_EQ(config.tv_host, Config{}.tv_host) << "a line past the first 64 KiB was read";
  // Grown to 1 GiB: still only its head. A folder of that name: the defaults.
  std::filesystem::resize_file(folder / "talvo.ini", std::uintmax_t{1} << 30);
  EXPECT_EQ(LoadConfig(folder).primary_host, u"head.test");
  std::filesystem::remove(folder / "talvo.ini");
  std::filesystem::create_directory(folder / "talvo.ini");
  EXPECT_EQ(LoadConfig(folder).primary_host, Config{}.primary_host);
}

TEST(Twips, OnePixelIsTheTextInchOverTheDesktopsTextDpi) {
  struct Row {
    double twips;
    double text_dpi;
    int pixels;
  };
  const Row rows[] = {
      {13755, 96, 917},
      {8700, 96, 580},
      {75, 96, 5},
      {13755, 144, 1376},
      {8700, 144, 870},
      {3750, 144, 375},  // 150 % text: 10 twips a pixel
      {1440, 192, 192},
      {1440, 120, 120},
      // A resolution the desktop cannot have is the default one, never a division by zero.
      {1440, 0, 96},
      {1440, -72, 96},
      {1440, std::nan(""), 96},
      {1440, HUGE_VAL, 96},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(TwipsToPixels(row.twips, row.text_dpi), row.pixels)
        << row.twips << " at " << row.text_dpi;
  }
  EXPECT_DOUBLE_EQ(PixelsToTwips(917, 96), 13755);
  EXPECT_DOUBLE_EQ(PixelsToTwips(1376, 144), 13760);
}

}  // namespace
}  // namespace talvo
