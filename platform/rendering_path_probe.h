// The page views' drawing path on this machine, chosen once per process.
#pragma once

#include <optional>
#include <string>

#include "platform/rendering_path.h"

namespace talvo {

// Making a GL context to ask for its renderer takes tens of milliseconds (a few hundred on a
// cold start), so the choice starts on a thread of its own while GTK starts. Only the first
// call counts.
void StartChoosingRenderingPath(Acceleration setting);

// The choice, waited for; made here with "auto" when nothing started it.
bool AcceleratedCompositingChosen();

// GL_RENDERER of an OpenGL ES context on the machine's default EGL device, made without a window;
// nothing when no context can be made.
std::optional<std::string> ProbeGlRenderer();

}  // namespace talvo
