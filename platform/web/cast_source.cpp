#include "platform/web/cast_source.h"

#include <algorithm>
#include <array>

#include "core/service_address.h"
#include "core/utf.h"

namespace talvo {
namespace {

// The path's last extension, in lower case, without the query or fragment: "m3u8", "mp3".
std::string ExtensionOf(std::string_view address) {
  address = address.substr(0, address.find_first_of("?#"));
  // A host alone ("http://host") has no file to name.
  const std::size_t scheme = address.find("://");
  if (address.find('/', scheme == std::string_view::npos ? 0 : scheme + 3) == address.npos)
    return {};
  const std::string_view last = address.substr(address.rfind('/') + 1);
  const std::size_t dot = last.rfind('.');
  if (dot == std::string_view::npos) return {};
  return AsciiLower(last.substr(dot + 1));
}

struct Known {
  const char* extension;
  const char* mime;
  CastKind kind;  // as the element's own address; a script player's read is kScriptPlayer
};

constexpr std::array kKnown = {
    Known{"mp4", "video/mp4", CastKind::kFile},
    Known{"m4v", "video/mp4", CastKind::kFile},
    Known{"webm", "video/webm", CastKind::kFile},
    Known{"ts", "video/mp2t", CastKind::kFile},
    Known{"mp3", "audio/mpeg", CastKind::kStation},
    Known{"aac", "audio/aac", CastKind::kStation},
    Known{"m4a", "audio/mp4", CastKind::kStation},
    Known{"ogg", "audio/ogg", CastKind::kStation},
    Known{"m3u8", "application/vnd.apple.mpegurl", CastKind::kPlaylist},
    Known{"mpd", "application/dash+xml", CastKind::kPlaylist},
    Known{"flv", "video/x-flv", CastKind::kPlaylist},
};

const Known* KnownOf(std::string_view address) {
  const std::string extension = ExtensionOf(address);
  for (const Known& known : kKnown) {
    if (extension == known.extension) return &known;
  }
  return nullptr;
}

}  // namespace

std::optional<PageMedia> ReadCastReport(std::string_view message) {
  std::vector<std::string> words;
  for (std::size_t at = 0; at < message.size();) {
    const std::size_t end = std::min(message.find(' ', at), message.size());
    if (end > at) words.emplace_back(message.substr(at, end - at));
    at = end + 1;
  }
  if (words.size() < 3 || words[0] != "cast" || (words[1] != "video" && words[1] != "audio")) {
    return std::nullopt;
  }
  PageMedia media;
  media.video = words[1] == "video";
  media.element_source = words[2] == "-" ? "" : words[2];
  // A page can write what it likes where its reads are kept: a bound on what it can make us keep.
  constexpr std::size_t kMostReads = 32;
  for (std::size_t i = 3; i < words.size() && media.player_reads.size() < kMostReads; ++i) {
    media.player_reads.push_back(words[i]);
  }
  return media;
}

std::optional<CastSource> CastSourceOf(const PageMedia& media) {
  const std::string& own = media.element_source;
  if (IsWebAddress(Utf8ToUtf16(own))) {
    const Known* known = KnownOf(own);
    // An address of a type we cannot name still plays on most renderers as what the element is.
    if (known == nullptr) {
      return CastSource{CastKind::kFile, own, media.video ? "video/mp4" : "audio/mpeg",
                        media.video};
    }
    return CastSource{known->kind, own, known->mime, media.video};
  }
  // A script player: the newest playlist or stream it reads; its segments alone are no channel.
  if (own.starts_with("blob:")) {
    for (auto read = media.player_reads.rbegin(); read != media.player_reads.rend(); ++read) {
      const Known* known = KnownOf(*read);
      if (IsWebAddress(Utf8ToUtf16(*read)) && known != nullptr &&
          known->kind == CastKind::kPlaylist) {
        return CastSource{CastKind::kScriptPlayer, *read, known->mime, media.video};
      }
    }
  }
  return std::nullopt;
}

std::string CastMetadata(std::string_view title, const CastSource& source) {
  const char* upnp_class = source.video ? "object.item.videoItem.videoBroadcast"
                                        : "object.item.audioItem.audioBroadcast";
  return std::string(
             "<DIDL-Lite xmlns=\"urn:schemas-upnp-org:metadata-1-0/DIDL-Lite/\" "
             "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
             "xmlns:upnp=\"urn:schemas-upnp-org:metadata-1-0/upnp/\">"
             "<item id=\"talvo\" parentID=\"0\" restricted=\"1\"><dc:title>") +
         XmlEscaped(title) + "</dc:title><upnp:class>" + upnp_class +
         "</upnp:class><res protocolInfo=\"http-get:*:" + source.mime + ":*\">" +
         XmlEscaped(source.address) + "</res></item></DIDL-Lite>";
}

}  // namespace talvo
