// Whatever a device on the home network sends: a search answer names an http:// description, a
// description names a renderer whose control addresses are http:// ones, a reply is done or a
// fault with words and no values; and any text sent in an action comes back from its reply as it
// was, less the control characters XML cannot hold.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/upnp.h"

namespace {

bool IsHttp(const std::string& address) {
  return !talvo::ResolveHttpAddress(address, "/").empty() &&
         talvo::ResolveHttpAddress("http://h/", address) == address;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (const auto answer = talvo::ReadSsdpAnswer(input)) {
    if (talvo::ResolveHttpAddress(answer->location, "/").empty()) std::abort();
  }
  if (const auto renderer = talvo::ReadRendererDescription(input, "http://10.0.0.1/d.xml")) {
    if (renderer->udn.empty() || renderer->name.empty() || !IsHttp(renderer->av_transport) ||
        (!renderer->rendering_control.empty() && !IsHttp(renderer->rendering_control))) {
      std::abort();
    }
  }
  const talvo::SoapReply reply = talvo::ReadSoapReply(size % 2 == 0 ? 200 : 500, input);
  if (!reply.ok && (!reply.values.empty() || reply.error_description.empty())) std::abort();

  const std::string text(input);
  const talvo::SoapAction action{talvo::kAvTransportType, "Play", {{"Speed", text}}};
  std::string kept;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') kept += c;
  }
  if (talvo::ReadSoapReply(200, talvo::SoapEnvelope(action)).Value("Speed") != kept) std::abort();
  return 0;
}
