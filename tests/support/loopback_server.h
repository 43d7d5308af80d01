// A real HTTP server on 127.0.0.1 with a free port, for tests that talk to the network.
#pragma once

#include <httplib.h>

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace talvo::testing {

class LoopbackServer {
 public:
  // https with a certificate made for the occasion, which nobody signed.
  enum Scheme { kHttp, kSelfSignedHttps };
  explicit LoopbackServer(Scheme scheme = kHttp);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  // Register handlers here before Start().
  httplib::Server& http() { return *server_; }
  // Answers GET `path` (a pattern, as httplib reads it) with `body`, the same every time.
  void Serve(const std::string& path, std::string body, std::string content_type = "text/html");
  void Start();
  // Waits for the handlers that run to return; none runs after. Safe to call twice.
  void Stop();

  int port() const { return port_; }
  // "127.0.0.1:port", as a host value of the configuration.
  std::string HostPort() const;
  std::string Url(std::string_view target) const;

  // Request targets (path and raw query) in arrival order.
  std::vector<std::string> Targets() const;

 private:
  std::unique_ptr<httplib::Server> server_;
  std::string scheme_;
  std::thread thread_;
  int port_ = -1;
  bool stopped_ = false;
  mutable std::mutex log_mutex_;
  std::vector<std::string> targets_;
};

// A loopback port nothing listens on: bound by a server, then released.
int UnusedPort();

}  // namespace talvo::testing
