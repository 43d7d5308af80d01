// The scripts the browser views run in their pages, in one place for both engines.
#pragma once

#include <string>
#include <string_view>

namespace talvo {

// The loaded document's visible text, or the empty text before it has a body.
inline constexpr const char* kBodyTextScript = "document.body ? document.body.innerText : ''";

// The desktop's Next and Previous media controls reach a page as the Media Session actions
// "nexttrack" and "previoustrack"; in a TV client they mean the next and previous channel. The
// script and its message channel live in a world of their own, out of the page scripts' reach,
// so a page cannot switch channels by posting to it (on Edge's engine, whose scripts share the
// page's world, by a secret the page cannot read). A page that sets its own handlers keeps them.
inline constexpr const char* kOwnWorld = "talvo";
inline constexpr const char* kMediaChannel = "talvoMedia";
inline constexpr const char* kMediaStepScript =
    "if (navigator.mediaSession) {"
    "  for (const [action, step] of [['nexttrack', 'next'], ['previoustrack', 'previous']]) {"
    "    navigator.mediaSession.setActionHandler(action,"
    "        () => talvoPost(step));"
    "  }"
    "}";

// What the page's keyboard focus is in, told through the same channel: keys that mean something
// to the client stay the page's while the viewer types into one of its fields.
inline constexpr const char* kTypingScript =
    "(() => {"
    "  const plain = ['button', 'checkbox', 'radio', 'range', 'submit', 'reset', 'image', 'file',"
    "                 'color'];"
    "  const report = () => {"
    "    const e = document.activeElement;"
    "    const typing = !!e && (e.isContentEditable || e.tagName === 'TEXTAREA' ||"
    "        e.tagName === 'SELECT' || (e.tagName === 'INPUT' && !plain.includes(e.type)));"
    "    talvoPost(typing ? 'typing' : 'not-typing');"
    "  };"
    "  document.addEventListener('focusin', report, true);"
    "  document.addEventListener('focusout', () => setTimeout(report, 0), true);"
    "})();";

// The two scripts above tell the client through `talvoPost(message)`, which each engine defines
// its own way: `poster` is the expression of that function, and the script runs in a block of its
// own with it.
std::string WithPoster(std::string_view script, std::string_view poster);
inline constexpr const char* kWebKitPoster =
    "(m) => window.webkit.messageHandlers.talvoMedia.postMessage(m)";

// The players' volume, kept in the client's own world: the page's scripts neither see nor
// change the setting, and its players are set to it as each starts a load or plays. Players
// outside the document (an Audio() never added to it) are beyond reach.
std::string VolumeScript(int percent);

}  // namespace talvo
