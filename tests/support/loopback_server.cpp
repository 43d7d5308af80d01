#include "tests/support/loopback_server.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "tests/support/scratch.h"

namespace talvo::testing {

namespace {

// The key and the certificate are read when the server is made, and go with their folder.
std::unique_ptr<httplib::Server> MakeServer(LoopbackServer::Scheme scheme) {
  if (scheme == LoopbackServer::kHttp) return std::make_unique<httplib::Server>();
#ifndef CPPHTTPLIB_OPENSSL_SUPPORT
  throw std::runtime_error("this build's HTTP library has no TLS");
#else
  const TempFolder folder("tls");
  const std::string key = (folder / "key.pem").string(), cert = (folder / "cert.pem").string();
  const std::string make =
      "openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=127.0.0.1 -days 1 "
      "-keyout " +
      key + " -out " + cert + " >/dev/null 2>&1";
  std::unique_ptr<httplib::SSLServer> server;
  if (std::system(make.c_str()) == 0)
    server = std::make_unique<httplib::SSLServer>(cert.c_str(), key.c_str());
  if (!server || !server->is_valid()) throw std::runtime_error("no self-signed certificate");
  return server;
#endif
}

}  // namespace

LoopbackServer::LoopbackServer(Scheme scheme)
    : server_(MakeServer(scheme)), scheme_(scheme == kHttp ? "http://" : "https://") {
  // One request per connection: a browser's idle keep-alive connection would hold stop() for
  // the whole read timeout.
  server_->set_keep_alive_max_count(1);
  // Recorded before the handler runs: a client may read the log as soon as it has the reply.
  server_->set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
    std::lock_guard lock(log_mutex_);
    targets_.push_back(request.target);
    return httplib::Server::HandlerResponse::Unhandled;
  });
  port_ = server_->bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("cannot bind a loopback port");
}

LoopbackServer::~LoopbackServer() { Stop(); }

void LoopbackServer::Stop() {
  if (stopped_) return;
  stopped_ = true;
  // stop() only closes the socket of a running server.
  if (!thread_.joinable()) Start();
  server_->stop();
  if (thread_.joinable()) thread_.join();
}

void LoopbackServer::Start() {
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  // stop() only takes effect on a running server, so Start() returns once it runs.
  for (int i = 0; i < 500 && !server_->is_running(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!server_->is_running()) throw std::runtime_error("loopback server did not start");
}

void LoopbackServer::Serve(const std::string& path, std::string body, std::string content_type) {
  server_->Get(path, [body = std::move(body), content_type = std::move(content_type)](
                         const httplib::Request&, httplib::Response& res) {
    res.set_content(body, content_type);
  });
}

int UnusedPort() {
  LoopbackServer released;
  released.Start();
  return released.port();
}

std::string LoopbackServer::HostPort() const { return "127.0.0.1:" + std::to_string(port_); }

std::string LoopbackServer::Url(std::string_view target) const {
  return scheme_ + HostPort() + std::string(target);
}

std::vector<std::string> LoopbackServer::Targets() const {
  std::lock_guard lock(log_mutex_);
  return targets_;
}

}  // namespace talvo::testing
