// 投屏's first question: what of the page on show can a TV on the home network play? A media
// renderer fetches a web address itself, so only what the page's player reads from the web can go:
// the element's own address (a file, a station, a playlist handed to it), or, where a script
// player feeds the element through Media Source Extensions, the playlist or stream that player
// reads. Nothing else: the renderer never sees the page. Pure: the view gathers what its page
// plays, this decides.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talvo {

// What the page on show plays, as its view saw it.
struct PageMedia {
  std::string element_source;  // the playing element's currentSrc; empty when none plays
  bool video = false;          // the element is a <video> (else an <audio>)
  // The addresses the page's script player asked for, oldest first (a playlist, an FLV stream,
  // its segments).
  std::vector<std::string> player_reads;
  bool operator==(const PageMedia&) const = default;
};

// The page's report of an element that started playing (kCastWatchScript): "cast <video|audio>
// <source> <read>…"; nothing for any other message.
std::optional<PageMedia> ReadCastReport(std::string_view message);

enum class CastKind { kFile, kStation, kPlaylist, kScriptPlayer };

struct CastSource {
  CastKind kind = CastKind::kFile;
  std::string address;
  std::string mime;  // the type the renderer is told in the metadata
  bool video = false;
  bool operator==(const CastSource&) const = default;
};

// What goes to the renderer, or nothing: the menu then says "此频道不支持投屏".
std::optional<CastSource> CastSourceOf(const PageMedia& media);

// The DIDL-Lite metadata of SetAVTransportURI: the item titled `title` (UTF-8), with the address
// and its type; every text escaped for XML.
std::string CastMetadata(std::string_view title, const CastSource& source);

}  // namespace talvo
