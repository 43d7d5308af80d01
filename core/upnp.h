// What a control point says to the media renderers of the home network and reads from them: the
// SSDP search and its answers, a renderer's description, and the SOAP actions of AVTransport and
// RenderingControl with their replies. Pure text in and out; every reader takes whatever a device
// on the network sends (it is fuzzed) and gives nothing for what it cannot use.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace talvo {

inline constexpr std::string_view kMediaRendererType =
    "urn:schemas-upnp-org:device:MediaRenderer:1";
inline constexpr std::string_view kAvTransportType = "urn:schemas-upnp-org:service:AVTransport:1";
inline constexpr std::string_view kRenderingControlType =
    "urn:schemas-upnp-org:service:RenderingControl:1";

// The M-SEARCH datagram for media renderers, answered within `wait_seconds`.
std::string SsdpSearchRequest(int wait_seconds);

// A renderer's answer to the search: where its description is.
struct SsdpAnswer {
  std::string location;  // an http:// address
  std::string usn;
  bool operator==(const SsdpAnswer&) const = default;
};
// An answer (or an announcement) of a media renderer whose description is at an http:// address;
// anything else is nothing.
std::optional<SsdpAnswer> ReadSsdpAnswer(std::string_view datagram);

struct Renderer {
  std::string udn;                // the device's own name, which stays when its address changes
  std::string name;               // its friendly name, UTF-8
  std::string av_transport;       // the control address of AVTransport
  std::string rendering_control;  // of RenderingControl; empty where the device has none
  bool operator==(const Renderer&) const = default;
};
// The media renderer a description at `location` names (the root device or one inside it), with
// its control addresses made whole; nothing when it has no AVTransport reachable over http://.
std::optional<Renderer> ReadRendererDescription(std::string_view xml, std::string_view location);

// `relative` as an address seen from `base` (both http://); empty when it is no http address.
std::string ResolveHttpAddress(std::string_view base, std::string_view relative);

struct SoapAction {
  std::string_view service;  // kAvTransportType or kRenderingControlType
  std::string_view name;     // "SetAVTransportURI", "Play"…
  std::vector<std::pair<std::string, std::string>> arguments;  // in the order the action has them
};
std::string SoapEnvelope(const SoapAction& action);
// The SOAPACTION header's value, quotes included.
std::string SoapActionHeader(const SoapAction& action);

struct SoapReply {
  bool ok = false;
  int error_code = 0;             // the UPnP error of a fault, 0 when it gave none
  std::string error_description;  // as the device said it
  // The reply's out arguments, by name.
  std::vector<std::pair<std::string, std::string>> values;
  std::string Value(std::string_view name) const;
};
// The device's reply to an action, from the HTTP status and the body.
SoapReply ReadSoapReply(long http_status, std::string_view body);

}  // namespace talvo
