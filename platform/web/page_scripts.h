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

// A double click anywhere in a frame of the page, told through the same channel: the small
// window goes back to the main one on it, whatever the page makes of it.
inline constexpr const char* kDoubleClickScript =
    "document.addEventListener('dblclick', () => talvoPost('double-click'), true);";

// What the page's media elements do, told as "media <element> <kind> <time> <duration> <origin>"
// (stream_watch.h reads it): played, paused, ended, failed, waiting, and their time at most once
// a second. Every frame's elements, players in a frame of the page included.
inline constexpr const char* kStreamWatchScript =
    "(() => {"
    "  const ids = new WeakMap(), told = new WeakMap();"
    "  let next = 1;"
    "  const originOf = (src) => {"
    "    try {"
    "      const origin = new URL(src.startsWith('blob:') ? src.slice(5) : src).origin;"
    "      return origin.startsWith('http') ? origin : '-';"
    "    } catch (e) { return '-'; }"
    "  };"
    "  const report = (kind) => (e) => {"
    "    const m = e.target;"
    "    if (!(m instanceof HTMLMediaElement)) return;"
    "    if (!ids.has(m)) ids.set(m, next++);"
    "    if (kind === 'progress') {"
    "      if (Date.now() - (told.get(m) || 0) < 1000) return;"
    "      told.set(m, Date.now());"
    "    }"
    "    talvoPost(['media', ids.get(m), kind, m.currentTime, m.duration,"
    "               originOf(m.currentSrc || location.href)].join(' '));"
    "  };"
    "  for (const [type, kind] of [['playing', 'playing'], ['pause', 'pause'], ['ended', 'ended'],"
    "      ['error', 'error'], ['waiting', 'waiting'], ['stalled', 'waiting'],"
    "      ['timeupdate', 'progress']]) {"
    "    document.addEventListener(type, report(kind), true);"
    "  }"
    // An engine may let a player's time stand still without a word (a playlist handed to
    // <video> whose server went away): an element that should play and whose time has not moved
    // in a second waits.
    "  const still = new WeakMap();"
    "  setInterval(() => {"
    "    for (const m of document.querySelectorAll('video, audio')) {"
    "      const standing = ids.has(m) && !m.paused && !m.ended && still.get(m) === m.currentTime;"
    "      still.set(m, m.currentTime);"
    "      if (standing) report('waiting')({target: m});"
    "    }"
    "  }, 1000);"
    "})();";

// What a playing element plays, for 投屏, told as "cast <video|audio> <currentSrc> <read>…" when it
// starts playing: its own address, and the addresses the page's script player asked for
// (kPlayerReadsScript keeps them on the document). Every frame's elements.
inline constexpr const char* kCastWatchScript =
    "document.addEventListener('playing', (e) => {"
    "  const m = e.target;"
    "  if (!(m instanceof HTMLMediaElement)) return;"
    "  const reads = document.documentElement.getAttribute('data-talvo-reads') || '';"
    "  talvoPost(['cast', m instanceof HTMLVideoElement ? 'video' : 'audio',"
    "             m.currentSrc || '-', reads].join(' '));"
    "}, true);";
// The addresses a script player reads, seen where they are asked for: in the page's own world,
// for its XMLHttpRequest and fetch. The first ones (a player reads its playlist first) and the
// newest are kept, on the document, for kCastWatchScript to tell.
inline constexpr const char* kPlayerReadsScript =
    "(() => {"
    "  const note = (address) => {"
    "    try {"
    "      const a = new URL(String(address), location.href).href;"
    "      const e = document.documentElement;"
    "      const reads = (e.getAttribute('data-talvo-reads') || '').split(' ').filter((r) => r);"
    "      if (reads.includes(a)) return;"
    "      reads.push(a);"
    "      if (reads.length > 16) reads.splice(4, 1);"
    "      e.setAttribute('data-talvo-reads', reads.join(' '));"
    "    } catch (x) {}"
    "  };"
    "  const open = XMLHttpRequest.prototype.open;"
    "  XMLHttpRequest.prototype.open = function (method, address) {"
    "    note(address);"
    "    return open.apply(this, arguments);"
    "  };"
    "  const get = window.fetch;"
    "  if (get) window.fetch = function (what) {"
    "    note(what && what.url ? what.url : what);"
    "    return get.apply(this, arguments);"
    "  };"
    "})();";

// A quiet line of ours over the bottom of the view, and its removal; the page under it stays as
// it is. Run in the page on show, and kept for the documents to come while it shows. `kind`
// names the line, so that two can be shown and removed each by itself.
std::string PageLineScript(std::string_view kind, std::u16string_view text);
// While a stream is away.
std::string StreamLineScript(bool shown);
inline constexpr const char* kStreamLineText = "信号中断，正在重新连接…";

// The scripts above that tell the client through `talvoPost(message)`, which each engine defines
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
