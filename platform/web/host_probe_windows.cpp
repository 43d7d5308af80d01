#include <winsock2.h>
#include <ws2tcpip.h>
#include <wx/timer.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <thread>
#include <utility>

#include "platform/web/host_probe.h"
#include "platform/web/page_outage.h"

namespace talvo {
namespace {

// A check that takes longer than this found nothing.
constexpr long kConnectSeconds = 2;
// How often the outcome of a check on its way is looked at.
constexpr int kLookEveryMs = 100;

// The host and port of "scheme://[user@]host[:port]/…", "[v6]" included; nothing for what is
// not a web address.
std::optional<std::pair<std::string, std::string>> HostAndPort(const std::string& address) {
  const bool secure = address.starts_with("https://");
  if (!secure && !address.starts_with("http://")) return std::nullopt;
  std::string rest = address.substr(secure ? 8 : 7);
  rest = rest.substr(0, rest.find_first_of("/?#"));
  if (const size_t at = rest.rfind('@'); at != std::string::npos) rest = rest.substr(at + 1);
  std::string host = rest, port = secure ? "443" : "80";
  const size_t close = rest.find(']');
  const size_t colon = rest.rfind(':');
  if (rest.starts_with("[") && close != std::string::npos) {
    host = rest.substr(1, close - 1);
    if (close + 1 < rest.size() && rest[close + 1] == ':') port = rest.substr(close + 2);
  } else if (colon != std::string::npos) {
    host = rest.substr(0, colon);
    port = rest.substr(colon + 1);
  }
  if (host.empty() || port.empty()) return std::nullopt;
  return std::pair{host, port};
}

bool Connects(const std::string& host, const std::string& port) {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  bool answered = false;
  if (getaddrinfo(host.c_str(), port.c_str(), &hints, &found) == 0) {
    for (const addrinfo* each = found; each != nullptr && !answered; each = each->ai_next) {
      const SOCKET socket = ::socket(each->ai_family, each->ai_socktype, each->ai_protocol);
      if (socket == INVALID_SOCKET) continue;
      u_long non_blocking = 1;
      ioctlsocket(socket, FIONBIO, &non_blocking);
      connect(socket, each->ai_addr, static_cast<int>(each->ai_addrlen));
      fd_set writable, failed;
      FD_ZERO(&writable);
      FD_ZERO(&failed);
      FD_SET(socket, &writable);
      FD_SET(socket, &failed);
      timeval wait{kConnectSeconds, 0};
      answered = select(0, nullptr, &writable, &failed, &wait) > 0 && FD_ISSET(socket, &writable);
      closesocket(socket);
    }
    freeaddrinfo(found);
  }
  WSACleanup();
  return answered;
}

}  // namespace

// Each check runs on a thread of its own that touches nothing but its own outcome, read from
// the event loop: a host that does not resolve or answer never holds the window, nor the
// program's end.
struct HostProbe::Checks {
  struct Outcome {
    std::atomic<int> answered{-1};  // -1 while the check is on its way
  };
  void OnTick();
  void Stop();

  std::function<void(bool)> checked;
  std::string address;
  std::chrono::steady_clock::time_point since{};
  std::chrono::steady_clock::time_point last_check{};
  std::shared_ptr<Outcome> on_its_way;
  wxTimer timer;
};

HostProbe::HostProbe(std::function<void(bool)> checked) : checks_(std::make_unique<Checks>()) {
  checks_->checked = std::move(checked);
  checks_->timer.Bind(wxEVT_TIMER, [checks = checks_.get()](wxTimerEvent&) { checks->OnTick(); });
}

HostProbe::~HostProbe() { Stop(); }

void HostProbe::Watch(const std::string& address) {
  if (address == checks_->address && checks_->timer.IsRunning()) return;
  Stop();
  if (!HostAndPort(address)) return;
  checks_->address = address;
  checks_->since = std::chrono::steady_clock::now();
  checks_->last_check = checks_->since;
  checks_->timer.Start(kLookEveryMs);
}

void HostProbe::Stop() { checks_->Stop(); }

void HostProbe::Checks::Stop() {
  timer.Stop();
  on_its_way.reset();  // its thread finishes alone, and tells nobody
  address.clear();
}

void HostProbe::Checks::OnTick() {
  const auto now = std::chrono::steady_clock::now();
  if (on_its_way && on_its_way->answered >= 0) {
    const bool answered = on_its_way->answered == 1;
    on_its_way.reset();
    checked(answered);  // may Stop or Watch anew
    return;
  }
  if (now - since > kHostCheckFor) return Stop();
  if (on_its_way || now - last_check < kHostCheckEvery) return;
  last_check = now;
  const std::pair<std::string, std::string> target = *HostAndPort(address);
  on_its_way = std::make_shared<Outcome>();
  std::thread([outcome = on_its_way, target] {
    outcome->answered = Connects(target.first, target.second) ? 1 : 0;
  }).detach();
}

}  // namespace talvo
