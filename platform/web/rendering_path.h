// Which way the page views draw: through the engine's accelerated compositing (GL) or its plain
// path. No GUI code here.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace talvo {

// talvo.ini's [view] acceleration: "auto" decides from the machine's GL, "on" and "off" force it.
enum class Acceleration { kAuto, kOn, kOff };

// "auto", "on" or "off", in any case; anything else is nothing.
std::optional<Acceleration> ParseAcceleration(std::string_view text);

// A GL renderer string names a rasteriser that runs on the CPU (Mesa's llvmpipe, softpipe and
// swrast, SwiftShader, Windows' basic render driver behind WSL).
bool IsSoftwareRenderer(std::string_view gl_renderer);

// Accelerated compositing pays only where a GPU draws: on a software GL it costs about twice the
// CPU of the plain path for a playing video. `gl_renderer` is nothing where no GL context could
// be made at all.
bool UseAcceleratedCompositing(Acceleration setting, const std::optional<std::string>& gl_renderer);

// What the probe child `probe` wrote to `output` (its pipe's read end, closed here) once it
// ended with success; nothing when it failed or did not end within `bound`, in which case it is
// killed. The child is reaped either way.
std::optional<std::string> ProbeAnswer(pid_t probe, int output, std::chrono::milliseconds bound);

}  // namespace talvo
