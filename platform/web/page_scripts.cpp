#include "platform/web/page_scripts.h"

#include <algorithm>

namespace talvo {

std::string WithPoster(std::string_view script, std::string_view poster) {
  return "{ const talvoPost = " + std::string(poster) + ";\n" + std::string(script) + "\n}";
}

std::string VolumeScript(int percent) {
  return "window.talvoVolume = " + std::to_string(std::clamp(percent, 0, 100) / 100.0) +
         ";"
         "if (!window.talvoVolumeKept) {"
         "  window.talvoVolumeKept = true;"
         "  const keep = (e) => {"
         "    if (e.target instanceof HTMLMediaElement) e.target.volume = window.talvoVolume;"
         "  };"
         "  document.addEventListener('loadstart', keep, true);"
         "  document.addEventListener('play', keep, true);"
         "}"
         "document.querySelectorAll('video, audio').forEach("
         "    (m) => { m.volume = window.talvoVolume; });";
}

}  // namespace talvo
