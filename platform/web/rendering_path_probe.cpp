#include "platform/web/rendering_path_probe.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <mutex>
#include <string_view>
#include <utility>

#include "core/debug_trace.h"

namespace talvo {
namespace {

constexpr unsigned kGlRenderer = 0x1F01;  // GL_RENDERER, without pulling in a GL header

// A probe that has not answered by then is stuck in a driver: the plain path draws everywhere.
constexpr std::chrono::milliseconds kProbeBound{3000};

std::mutex g_choice_mutex;
std::optional<bool> g_choice;
pid_t g_probe_pid = -1;
int g_probe_output = -1;

// Mesa's surfaceless platform needs no display server and picks the device the engine would:
// the GPU's render node, or its software rasteriser where there is none. Elsewhere, the default.
EGLDisplay OpenDisplay() {
  const auto platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  const char* extensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  if (platform_display != nullptr && extensions != nullptr &&
      std::string_view(extensions).find("EGL_MESA_platform_surfaceless") !=
          std::string_view::npos) {
    EGLDisplay display =
        platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display != EGL_NO_DISPLAY) return display;
  }
  return eglGetDisplay(EGL_DEFAULT_DISPLAY);
}

std::optional<std::string> RendererOfCurrentContext() {
  using GetString = const unsigned char* (*)(unsigned);
  const auto get_string = reinterpret_cast<GetString>(eglGetProcAddress("glGetString"));
  const unsigned char* renderer = get_string != nullptr ? get_string(kGlRenderer) : nullptr;
  if (renderer == nullptr) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(renderer));
}

std::optional<std::string> RendererOn(EGLDisplay display) {
  const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                           EGL_OPENGL_ES2_BIT, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint count = 0;
  if (!eglBindAPI(EGL_OPENGL_ES_API) || !eglChooseConfig(display, wanted, &config, 1, &count) ||
      count < 1) {
    return std::nullopt;
  }
  const EGLint context_version[] = {EGL_CONTEXT_CLIENT_VERSION, 2, EGL_NONE};
  EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, context_version);
  if (context == EGL_NO_CONTEXT) return std::nullopt;
  const EGLint size[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
  EGLSurface surface = eglCreatePbufferSurface(display, config, size);
  std::optional<std::string> renderer;
  if (surface != EGL_NO_SURFACE && eglMakeCurrent(display, surface, surface, context)) {
    renderer = RendererOfCurrentContext();
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  }
  if (surface != EGL_NO_SURFACE) eglDestroySurface(display, surface);
  eglDestroyContext(display, context);
  return renderer;
}

}  // namespace

std::optional<std::string> ProbeGlRenderer() {
  EGLDisplay display = OpenDisplay();
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) return std::nullopt;
  std::optional<std::string> renderer = RendererOn(display);
  eglTerminate(display);
  eglReleaseThread();
  return renderer;
}

void StartChoosingRenderingPath(Acceleration setting) {
  const std::lock_guard lock(g_choice_mutex);
  if (g_choice.has_value() || g_probe_pid > 0) return;
  if (setting != Acceleration::kAuto) {
    g_choice = UseAcceleratedCompositing(setting, std::nullopt);
    return;
  }
  int pipe_ends[2];
  if (::pipe2(pipe_ends, O_CLOEXEC) != 0) {
    g_choice = false;
    return;
  }
  // The driver runs in a child of its own: it reads the environment while GTK's start writes
  // to it, and a driver that hangs or crashes must not take the client with it. Forked before
  // GTK and the client's threads start (the engine's heap scavenger, the one thread then, holds
  // nothing a driver uses), the child may call anything.
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(pipe_ends[0]);
    const std::optional<std::string> renderer = ProbeGlRenderer();
    if (renderer.has_value()) {
      [[maybe_unused]] const ssize_t written =
          ::write(pipe_ends[1], renderer->data(), renderer->size());
    }
    ::_exit(renderer.has_value() ? 0 : 1);
  }
  ::close(pipe_ends[1]);
  if (pid < 0) {
    ::close(pipe_ends[0]);
    g_choice = false;
    return;
  }
  g_probe_pid = pid;
  g_probe_output = pipe_ends[0];
}

bool AcceleratedCompositingChosen() {
  const std::lock_guard lock(g_choice_mutex);
  if (!g_choice.has_value()) {
    // Without a started probe no renderer is known, which means the plain path.
    std::optional<std::string> renderer;
    if (g_probe_pid > 0)
      renderer = ProbeAnswer(std::exchange(g_probe_pid, -1), std::exchange(g_probe_output, -1),
                             kProbeBound);
    g_choice = UseAcceleratedCompositing(Acceleration::kAuto, renderer);
    DebugTrace("drawing", "GL renderer " + renderer.value_or("(none)") +
                              (*g_choice ? ": accelerated compositing" : ": the plain path"));
  }
  return *g_choice;
}

}  // namespace talvo
