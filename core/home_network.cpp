#include "core/home_network.h"

#include <curl/curl.h>

#include <algorithm>

#include "core/curl_options.h"
#include "core/debug_trace.h"
#include "core/ssdp_socket.h"

namespace talvo {
namespace {

// A renderer on the home network answers at once or not at all.
constexpr long kConnectMs = 3000;
constexpr long kTotalMs = 8000;
constexpr std::size_t kReplyCap = 256u << 10;
constexpr int kSearchWaitSeconds = 1;
constexpr std::size_t kMostDatagrams = 256;

struct Exchange {
  std::string body;
  long status = 0;
  std::string error;  // empty when a reply came
};

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
  auto& body = *static_cast<std::string*>(user);
  if (body.size() + size * count > kReplyCap) return 0;
  body.append(data, size * count);
  return size * count;
}

int CheckCancelled(void* cancelled, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<const std::atomic<bool>*>(cancelled)->load() ? 1 : 0;
}

// One HTTP exchange with a device: a GET, or a POST of `body` with `headers`. Never through a
// proxy: the devices are on the home network.
Exchange HttpExchange(const std::string& url, const std::string* body,
                      const std::vector<std::string>& headers, const std::atomic<bool>& cancelled) {
  Exchange exchange;
  if (cancelled) {
    exchange.error = "cancelled";
    return exchange;
  }
  CURL* curl = curl_easy_init();
  if (curl == nullptr) {
    exchange.error = "no transfer handle";
    return exchange;
  }
  curl_slist* list = nullptr;
  for (const std::string& header : headers) list = curl_slist_append(list, header.c_str());
  CurlOptions options(curl);
  options.Set(CURLOPT_URL, url.c_str())
      .Set(CURLOPT_PROTOCOLS_STR, "http")
      .Set(CURLOPT_NOPROXY, "*")
      .Set(CURLOPT_CONNECTTIMEOUT_MS, kConnectMs)
      .Set(CURLOPT_TIMEOUT_MS, kTotalMs)
      .Set(CURLOPT_NOSIGNAL, 1L)
      .Set(CURLOPT_HTTPHEADER, list)
      .Set(CURLOPT_WRITEFUNCTION, Collect)
      .Set(CURLOPT_WRITEDATA, &exchange.body)
      .Set(CURLOPT_NOPROGRESS, 0L)
      .Set(CURLOPT_XFERINFOFUNCTION, CheckCancelled)
      .Set(CURLOPT_XFERINFODATA, &cancelled);
  if (body != nullptr) {
    options.Set(CURLOPT_POSTFIELDS, body->data())
        .Set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body->size()));
  }
  const CURLcode result =
      options.Refused() == CURLE_OK ? curl_easy_perform(curl) : options.Refused();
  if (result == CURLE_OK) {
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &exchange.status);
  } else {
    exchange.error = curl_easy_strerror(result);
  }
  curl_slist_free_all(list);
  curl_easy_cleanup(curl);
  return exchange;
}

// The datagrams that answer `request` within `window`; empty when there is no network.
std::vector<std::string> SsdpExchange(std::string_view request, std::chrono::milliseconds window,
                                      const std::atomic<bool>& cancelled) {
  std::vector<std::string> datagrams;
  SsdpSocket socket;
  if (!socket.SendToGroup(request)) {
    DebugTrace("cast", "the search went out on no interface");
    return datagrams;
  }
  const auto until = std::chrono::steady_clock::now() + window;
  while (!cancelled && datagrams.size() < kMostDatagrams) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        until - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    // Short waits, so that a cancel is seen soon.
    if (std::optional<std::string> datagram =
            socket.Receive(std::min(left, std::chrono::milliseconds(200)))) {
      datagrams.push_back(std::move(*datagram));
    }
  }
  return datagrams;
}

}  // namespace

std::vector<Renderer> HomeNetwork::FindRenderers(std::chrono::milliseconds window) {
  std::vector<std::string> locations;
  for (const std::string& datagram :
       SsdpExchange(SsdpSearchRequest(kSearchWaitSeconds), window, cancelled_)) {
    const std::optional<SsdpAnswer> answer = ReadSsdpAnswer(datagram);
    if (answer && std::ranges::find(locations, answer->location) == locations.end()) {
      locations.push_back(answer->location);
    }
  }
  std::vector<Renderer> found;
  for (const std::string& location : locations) {
    const Exchange description = HttpExchange(location, nullptr, {}, cancelled_);
    if (!description.error.empty() || description.status != 200) {
      DebugTrace("cast",
                 location + ": no description (" +
                     (description.error.empty() ? "HTTP " + std::to_string(description.status)
                                                : description.error) +
                     ")");
      continue;
    }
    std::optional<Renderer> renderer = ReadRendererDescription(description.body, location);
    // A device that answers on several networks is one renderer.
    if (renderer && std::ranges::none_of(
                        found, [&](const Renderer& known) { return known.udn == renderer->udn; })) {
      found.push_back(std::move(*renderer));
    }
  }
  return found;
}

CastResult HomeNetwork::Act(const std::string& control, const SoapAction& action) {
  const std::string envelope = SoapEnvelope(action);
  const Exchange exchange = HttpExchange(control, &envelope,
                                         {"Content-Type: text/xml; charset=\"utf-8\"",
                                          "SOAPACTION: " + SoapActionHeader(action), "Expect:"},
                                         cancelled_);
  if (!exchange.error.empty()) return {CastOutcome::kGone, exchange.error};
  const SoapReply reply = ReadSoapReply(exchange.status, exchange.body);
  if (reply.ok) return {CastOutcome::kDone, {}};
  return {CastOutcome::kRefused,
          std::string(action.name) + ": " +
              (reply.error_code != 0 ? std::to_string(reply.error_code) + " " : "") +
              reply.error_description};
}

CastResult HomeNetwork::Cast(const Renderer& renderer, const std::string& address,
                             const std::string& metadata) {
  const CastResult set =
      Act(renderer.av_transport,
          {kAvTransportType,
           "SetAVTransportURI",
           {{"InstanceID", "0"}, {"CurrentURI", address}, {"CurrentURIMetaData", metadata}}});
  if (set.outcome != CastOutcome::kDone) return set;
  return Act(renderer.av_transport,
             {kAvTransportType, "Play", {{"InstanceID", "0"}, {"Speed", "1"}}});
}

CastResult HomeNetwork::Stop(const Renderer& renderer) {
  return Act(renderer.av_transport, {kAvTransportType, "Stop", {{"InstanceID", "0"}}});
}

CastResult HomeNetwork::SetVolume(const Renderer& renderer, int percent) {
  if (renderer.rendering_control.empty()) return {CastOutcome::kRefused, "no RenderingControl"};
  return Act(renderer.rendering_control,
             {kRenderingControlType,
              "SetVolume",
              {{"InstanceID", "0"},
               {"Channel", "Master"},
               {"DesiredVolume", std::to_string(std::clamp(percent, 0, 100))}}});
}

CastResult HomeNetwork::Check(const Renderer& renderer) {
  return Act(renderer.av_transport, {kAvTransportType, "GetTransportInfo", {{"InstanceID", "0"}}});
}

}  // namespace talvo
