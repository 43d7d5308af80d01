#include "platform/web/page_scripts.h"

#include <algorithm>

namespace talvo {

std::string WithPoster(std::string_view script, std::string_view poster) {
  return "{ const talvoPost = " + std::string(poster) + ";\n" + std::string(script) + "\n}";
}

std::string StreamLineScript(bool shown) {
  const std::string remove =
      "document.querySelectorAll('[data-talvo-line]').forEach((e) => e.remove());";
  if (!shown) return remove;
  return "(() => {"
         "  const show = () => {"
         "    " +
         remove +
         "    const line = document.createElement('div');"
         "    line.setAttribute('data-talvo-line', '');"
         "    line.textContent = '" +
         std::string(kStreamLineText) +
         "';"
         "    line.style.cssText = 'position:fixed;left:0;right:0;bottom:0;z-index:2147483647;"
         "padding:6px 12px;background:rgba(0,0,0,0.72);color:#eee;font:14px sans-serif;"
         "text-align:center;pointer-events:none';"
         "    (document.body || document.documentElement).appendChild(line);"
         "  };"
         "  if (document.readyState === 'loading') {"
         "    document.addEventListener('DOMContentLoaded', show);"
         "  } else {"
         "    show();"
         "  }"
         "})();";
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
