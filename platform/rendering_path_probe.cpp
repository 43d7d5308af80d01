#include "platform/rendering_path_probe.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <future>
#include <mutex>
#include <string_view>

namespace talvo {
namespace {

constexpr unsigned kGlRenderer = 0x1F01;  // GL_RENDERER, without pulling in a GL header

std::mutex g_choice_mutex;
std::shared_future<bool> g_choice;

// Mesa's surfaceless platform needs no display server and picks the device the engine would:
// the GPU's render node, or its software rasteriser where there is none. Elsewhere, the default.
EGLDisplay OpenDisplay() {
  const auto platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  const char* extensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  if (platform_display != nullptr && extensions != nullptr &&
      std::string_view(extensions).find("EGL_MESA_platform_surfaceless") != std::string_view::npos) {
    EGLDisplay display = platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
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
  if (g_choice.valid()) return;
  if (setting != Acceleration::kAuto) {
    std::promise<bool> forced;
    forced.set_value(UseAcceleratedCompositing(setting, std::nullopt));
    g_choice = forced.get_future().share();
    return;
  }
  g_choice = std::async(std::launch::async, [] {
               return UseAcceleratedCompositing(Acceleration::kAuto, ProbeGlRenderer());
             }).share();
}

bool AcceleratedCompositingChosen() {
  StartChoosingRenderingPath(Acceleration::kAuto);
  const std::lock_guard lock(g_choice_mutex);
  return g_choice.get();
}

}  // namespace talvo
