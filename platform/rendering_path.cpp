#include "platform/rendering_path.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <string>

#include "core/debug_trace.h"

namespace talvo {
namespace {

std::string Lowered(std::string_view text) {
  std::string lowered(text);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lowered;
}

}  // namespace

std::optional<Acceleration> ParseAcceleration(std::string_view text) {
  const std::string word = Lowered(text);
  if (word == "auto") return Acceleration::kAuto;
  if (word == "on") return Acceleration::kOn;
  if (word == "off") return Acceleration::kOff;
  return std::nullopt;
}

bool IsSoftwareRenderer(std::string_view gl_renderer) {
  static constexpr std::array<std::string_view, 6> kSoftware = {
      "llvmpipe",    "softpipe",           "swrast", "software rasterizer",
      "swiftshader", "basic render driver"};
  const std::string renderer = Lowered(gl_renderer);
  return std::any_of(kSoftware.begin(), kSoftware.end(), [&renderer](std::string_view name) {
    return renderer.find(name) != std::string::npos;
  });
}

bool UseAcceleratedCompositing(Acceleration setting,
                               const std::optional<std::string>& gl_renderer) {
  switch (setting) {
    case Acceleration::kOn:
      return true;
    case Acceleration::kOff:
      return false;
    case Acceleration::kAuto:
      break;
  }
  return gl_renderer.has_value() && !gl_renderer->empty() && !IsSoftwareRenderer(*gl_renderer);
}

std::optional<std::string> ProbeAnswer(pid_t probe, int output, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  std::string text;
  bool ended = false;
  while (!ended) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd readable{output, POLLIN, 0};
    const int ready = ::poll(&readable, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    char buffer[256];
    const ssize_t got = ::read(output, buffer, sizeof buffer);
    if (got > 0) text.append(buffer, static_cast<std::size_t>(got));
    ended = got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN);
  }
  ::close(output);
  // Ended or not, it has nothing more to say.
  ::kill(probe, SIGKILL);
  int status = 0;
  const bool reaped = ::waitpid(probe, &status, 0) == probe;
  if (!ended) {
    DebugTrace("drawing",
               "the GL probe did not answer within " + std::to_string(bound.count()) + " ms");
    return std::nullopt;
  }
  const bool answered =
      !text.empty() && (!reaped || (WIFEXITED(status) && WEXITSTATUS(status) == 0));
  return answered ? std::optional<std::string>(text) : std::nullopt;
}

}  // namespace talvo
