#include "platform/web/page_scripts.h"

#include <algorithm>
#include <cstdio>

#include "core/utf.h"

namespace talvo {

std::string WithPoster(std::string_view script, std::string_view poster) {
  return "{ const talvoPost = " + std::string(poster) + ";\n" + std::string(script) + "\n}";
}

namespace {

// `text` as a script's string literal: every character but letters and digits escaped, so that
// no text (a renderer's name comes from the network) can end the literal.
std::string ScriptLiteral(std::u16string_view text) {
  std::string literal = "'";
  for (const char16_t unit : text) {
    if ((unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') ||
        (unit >= u'0' && unit <= u'9') || unit == u' ') {
      literal += static_cast<char>(unit);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(unit));
      literal += escaped;
    }
  }
  return literal + "'";
}

}  // namespace

std::string PageLineScript(std::string_view kind, std::u16string_view text) {
  const std::string remove = "document.querySelectorAll('[data-talvo-line=\"" + std::string(kind) +
                             "\"]').forEach((e) => e.remove());";
  if (text.empty()) return remove;
  return "(() => {"
         "  const show = () => {"
         "    " +
         remove +
         "    const line = document.createElement('div');"
         "    line.setAttribute('data-talvo-line', '" +
         std::string(kind) +
         "');"
         "    line.textContent = " +
         ScriptLiteral(text) +
         ";"
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

std::string StreamLineScript(bool shown) {
  return PageLineScript("stream", shown ? Utf8ToUtf16(kStreamLineText) : u"");
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
