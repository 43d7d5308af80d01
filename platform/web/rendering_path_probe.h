// The page views' drawing path on this machine, chosen once per process.
#pragma once

#include <optional>
#include <string>

#include "platform/web/rendering_path.h"

namespace talvo {

// Making a GL context to ask for its renderer takes tens of milliseconds (a few hundred on a
// cold start), so with "auto" the probe runs in a forked child while GTK starts. Call it in main,
// before GTK and any thread of the client's own start; only the first call counts.
void StartChoosingRenderingPath(Acceleration setting);

// The choice, waited for at most a few seconds. Without a started probe, or when it does not
// answer in time, no renderer is known: the plain path.
bool AcceleratedCompositingChosen();

// GL_RENDERER of an OpenGL ES context on the machine's default EGL device, made without a window;
// nothing when no context can be made.
std::optional<std::string> ProbeGlRenderer();

}  // namespace talvo
