#include "core/upnp.h"

#include <charconv>
#include <cstdint>

#include "core/utf.h"

namespace talvo {
namespace {

constexpr std::string_view kSsdpAddress = "239.255.255.250:1900";

bool StartsWithNoCase(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && AsciiLower(text.substr(0, start.size())) == start;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == text.npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The element names of a document, as events, for readers that want a few leaf texts of a small
// document; what is no element or text (declarations, comments, processing) is passed over.
class XmlWalk {
 public:
  enum class Kind { kOpen, kClose, kText, kEnd };
  struct Event {
    Kind kind = Kind::kEnd;
    std::string_view name;  // without its namespace prefix
    std::string text;       // entities decoded
  };

  explicit XmlWalk(std::string_view xml) : xml_(xml) {}

  Event Next() {
    if (pending_close_) {
      pending_close_ = false;
      return {Kind::kClose, pending_name_, {}};
    }
    while (at_ < xml_.size()) {
      if (xml_[at_] != '<') {
        const std::size_t end = std::min(xml_.find('<', at_), xml_.size());
        Event text{Kind::kText, {}, Decoded(xml_.substr(at_, end - at_))};
        at_ = end;
        return text;
      }
      const std::string_view rest = xml_.substr(at_);
      if (rest.starts_with("<![CDATA[")) {
        const std::size_t end = rest.find("]]>");
        Event text{
            Kind::kText, {}, std::string(rest.substr(9, end == rest.npos ? rest.npos : end - 9))};
        at_ = end == rest.npos ? xml_.size() : at_ + end + 3;
        return text;
      }
      if (rest.starts_with("<!--")) {
        const std::size_t end = rest.find("-->");
        at_ = end == rest.npos ? xml_.size() : at_ + end + 3;
        continue;
      }
      const std::size_t close = TagEnd(rest);
      if (close == rest.npos) {
        at_ = xml_.size();
        break;
      }
      const std::string_view tag = rest.substr(1, close - 1);
      at_ += close + 1;
      if (tag.empty() || tag.front() == '?' || tag.front() == '!') continue;
      if (tag.front() == '/') return {Kind::kClose, LocalName(tag.substr(1)), {}};
      const bool empty = tag.back() == '/';
      const std::string_view name = LocalName(empty ? tag.substr(0, tag.size() - 1) : tag);
      if (empty) {
        pending_close_ = true;
        pending_name_ = name;
      }
      return {Kind::kOpen, name, {}};
    }
    return {};
  }

  static std::string Decoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const std::size_t semicolon = text[i] == '&' ? text.find(';', i) : text.npos;
      if (semicolon == text.npos || semicolon - i > 10) {
        out += text[i];
        continue;
      }
      const std::string_view entity = text.substr(i + 1, semicolon - i - 1);
      if (entity == "lt") {
        out += '<';
      } else if (entity == "gt") {
        out += '>';
      } else if (entity == "amp") {
        out += '&';
      } else if (entity == "quot") {
        out += '"';
      } else if (entity == "apos") {
        out += '\'';
      } else if (entity.size() > 1 && entity.front() == '#') {
        const bool hex = entity[1] == 'x' || entity[1] == 'X';
        const std::string_view digits = entity.substr(hex ? 2 : 1);
        std::uint32_t code = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
        std::u16string unit;
        const bool valid = error == std::errc() && end == digits.data() + digits.size() &&
                           code != 0 && code <= 0x10FFFF && !IsSurrogate(code);
        AppendCodePoint(unit, valid ? code : 0xFFFD);
        out += Utf16ToUtf8(unit);
      } else {
        out += text[i];
        continue;
      }
      i = semicolon;
    }
    return out;
  }

 private:
  // The '>' that ends the tag at the start of `rest`, past any in its quoted attribute values.
  static std::size_t TagEnd(std::string_view rest) {
    char quote = 0;
    for (std::size_t i = 1; i < rest.size(); ++i) {
      if (quote != 0) {
        if (rest[i] == quote) quote = 0;
      } else if (rest[i] == '"' || rest[i] == '\'') {
        quote = rest[i];
      } else if (rest[i] == '>') {
        return i;
      }
    }
    return rest.npos;
  }

  static std::string_view LocalName(std::string_view tag) {
    const std::string_view name = tag.substr(0, tag.find_first_of(" \t\r\n"));
    const std::size_t colon = name.find(':');
    return colon == name.npos ? name : name.substr(colon + 1);
  }

  std::string_view xml_;
  std::size_t at_ = 0;
  bool pending_close_ = false;
  std::string_view pending_name_;
};

// The scheme and authority of an http:// address ("http://host:port"), or empty.
std::string_view OriginOf(std::string_view address) {
  if (!StartsWithNoCase(address, "http://")) return {};
  const std::size_t path = address.find_first_of("/?#", 7);
  if (path == 7) return {};
  return address.substr(0, path);
}

}  // namespace

std::string SsdpSearchRequest(int wait_seconds) {
  return "M-SEARCH * HTTP/1.1\r\nHOST: " + std::string(kSsdpAddress) +
         "\r\nMAN: \"ssdp:discover\"\r\nMX: " + std::to_string(wait_seconds) +
         "\r\nST: " + std::string(kMediaRendererType) + "\r\nUSER-AGENT: talvo UPnP/1.1\r\n\r\n";
}

std::optional<SsdpAnswer> ReadSsdpAnswer(std::string_view datagram) {
  const std::size_t first_end = datagram.find("\r\n");
  if (first_end == datagram.npos) return std::nullopt;
  const std::string_view first = datagram.substr(0, first_end);
  const bool answer = StartsWithNoCase(first, "http/1.1 200");
  const bool notify = StartsWithNoCase(first, "notify * http/1.1");
  if (!answer && !notify) return std::nullopt;
  SsdpAnswer found;
  std::string type;
  bool alive = answer;
  std::string_view rest = datagram.substr(first_end + 2);
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find("\r\n"), rest.size());
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 2, rest.size()));
    const std::size_t colon = line.find(':');
    if (colon == line.npos) continue;
    const std::string name = AsciiLower(Trimmed(line.substr(0, colon)));
    const std::string_view value = Trimmed(line.substr(colon + 1));
    if (name == "location") found.location = value;
    if (name == "usn") found.usn = value;
    if (name == (answer ? "st" : "nt")) type = value;
    if (name == "nts") alive = value == "ssdp:alive";
  }
  if (!alive || type != kMediaRendererType || OriginOf(found.location).empty()) {
    return std::nullopt;
  }
  return found;
}

std::string ResolveHttpAddress(std::string_view base, std::string_view relative) {
  relative = Trimmed(relative);
  if (relative.empty()) return {};
  if (StartsWithNoCase(relative, "http://")) {
    return OriginOf(relative).empty() ? std::string() : std::string(relative);
  }
  // Any other scheme ("file:", "https:" a renderer cannot hold) is no control address of ours.
  const std::size_t colon = relative.find(':');
  if (colon != relative.npos && relative.find('/') > colon) return {};
  const std::string_view origin = OriginOf(base);
  if (origin.empty()) return {};
  if (relative.starts_with("//")) return {};
  if (relative.starts_with('/')) return std::string(origin) + std::string(relative);
  std::string_view folder = base.substr(0, base.find_first_of("?#"));
  folder = folder.size() > origin.size() ? folder.substr(0, folder.rfind('/') + 1) : "";
  return (folder.empty() ? std::string(origin) + "/" : std::string(folder)) + std::string(relative);
}

std::optional<Renderer> ReadRendererDescription(std::string_view xml, std::string_view location) {
  struct Device {
    std::string type, name, udn, av_transport, rendering_control;
  };
  std::vector<std::string_view> path;
  std::vector<Device> devices;
  std::string base(location);
  std::string service_type, control;
  XmlWalk walk(xml);
  for (XmlWalk::Event event = walk.Next(); event.kind != XmlWalk::Kind::kEnd; event = walk.Next()) {
    switch (event.kind) {
      case XmlWalk::Kind::kOpen:
        path.push_back(event.name);
        if (event.name == "device") devices.emplace_back();
        if (event.name == "service") service_type.clear(), control.clear();
        break;
      case XmlWalk::Kind::kText: {
        if (path.empty()) break;
        const std::string_view element = path.back();
        const std::string text(Trimmed(event.text));
        if (element == "URLBase" && path.size() == 2) base = text;
        if (devices.empty()) break;
        Device& device = devices.back();
        const std::string_view parent = path.size() > 1 ? path[path.size() - 2] : "";
        if (parent == "device" && element == "deviceType") device.type += text;
        if (parent == "device" && element == "friendlyName") device.name += text;
        if (parent == "device" && element == "UDN") device.udn += text;
        if (parent == "service" && element == "serviceType") service_type += text;
        if (parent == "service" && element == "controlURL") control += text;
        break;
      }
      case XmlWalk::Kind::kClose:
        if (path.empty() || path.back() != event.name) break;  // not well formed: not ours to mend
        path.pop_back();
        if (event.name == "service" && !devices.empty()) {
          Device& device = devices.back();
          if (service_type == kAvTransportType) device.av_transport = control;
          if (service_type == kRenderingControlType) device.rendering_control = control;
        }
        if (event.name == "device" && !devices.empty()) {
          const Device device = std::move(devices.back());
          devices.pop_back();
          const std::string av_transport = ResolveHttpAddress(base, device.av_transport);
          if (device.type == kMediaRendererType && !device.udn.empty() && !av_transport.empty()) {
            return Renderer{device.udn, device.name.empty() ? device.udn : device.name,
                            av_transport, ResolveHttpAddress(base, device.rendering_control)};
          }
        }
        break;
      case XmlWalk::Kind::kEnd:
        break;
    }
  }
  return std::nullopt;
}

std::string SoapEnvelope(const SoapAction& action) {
  std::string body =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
      "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
      "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"><s:Body><u:" +
      std::string(action.name) + " xmlns:u=\"" + std::string(action.service) + "\">";
  for (const auto& [name, value] : action.arguments) {
    body += "<" + name + ">" + XmlEscaped(value) + "</" + name + ">";
  }
  return body + "</u:" + std::string(action.name) + "></s:Body></s:Envelope>\r\n";
}

std::string SoapActionHeader(const SoapAction& action) {
  return "\"" + std::string(action.service) + "#" + std::string(action.name) + "\"";
}

std::string SoapReply::Value(std::string_view name) const {
  for (const auto& [key, value] : values) {
    if (key == name) return value;
  }
  return {};
}

SoapReply ReadSoapReply(long http_status, std::string_view body) {
  SoapReply reply;
  bool fault = false;
  bool in_body = false;
  std::vector<std::string_view> path;
  XmlWalk walk(body);
  for (XmlWalk::Event event = walk.Next(); event.kind != XmlWalk::Kind::kEnd; event = walk.Next()) {
    if (event.kind == XmlWalk::Kind::kOpen) {
      path.push_back(event.name);
      if (path.size() == 2 && event.name == "Body") in_body = true;
      if (in_body && path.size() == 3 && event.name == "Fault") fault = true;
      if (in_body && !fault && path.size() == 4) reply.values.emplace_back(event.name, "");
    } else if (event.kind == XmlWalk::Kind::kClose) {
      if (!path.empty() && path.back() == event.name) path.pop_back();
      if (path.size() < 2) in_body = false;
    } else if (!path.empty() && in_body) {
      if (fault && path.back() == "errorCode") {
        const std::string_view digits = Trimmed(event.text);
        std::from_chars(digits.data(), digits.data() + digits.size(), reply.error_code);
      } else if (fault && path.back() == "errorDescription") {
        reply.error_description += event.text;
      } else if (!fault && path.size() == 4 && !reply.values.empty()) {
        reply.values.back().second += event.text;
      }
    }
  }
  reply.ok = http_status >= 200 && http_status < 300 && !fault;
  if (reply.ok) return reply;
  reply.values.clear();
  if (reply.error_description.empty()) {
    reply.error_description = http_status == 0 ? "no reply" : "HTTP " + std::to_string(http_status);
  }
  return reply;
}

}  // namespace talvo
