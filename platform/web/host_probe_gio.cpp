#include <gio/gio.h>

#include <chrono>

#include "platform/web/host_probe.h"
#include "platform/web/page_outage.h"

namespace talvo {
namespace {

// A check that takes longer than this found nothing: the next one starts on time.
constexpr guint kConnectSeconds = 2;

}  // namespace

// GIO's asynchronous connection, cancelled when it is no longer wanted.
struct HostProbe::Checks {
  static gboolean OnTime(gpointer self);
  static void OnConnected(GObject* client, GAsyncResult* result, gpointer self);
  void Check();
  void Stop();

  std::function<void(bool)> checked;
  std::string address;
  std::chrono::steady_clock::time_point since{};
  guint source = 0;
  GCancellable* on_its_way = nullptr;
};

HostProbe::HostProbe(std::function<void(bool)> checked) : checks_(std::make_unique<Checks>()) {
  checks_->checked = std::move(checked);
}

HostProbe::~HostProbe() { Stop(); }

void HostProbe::Watch(const std::string& address) {
  if (address == checks_->address && checks_->source != 0) return;
  Stop();
  checks_->address = address;
  checks_->since = std::chrono::steady_clock::now();
  checks_->source = g_timeout_add(static_cast<guint>(kHostCheckEvery.count()),
                                  &HostProbe::Checks::OnTime, checks_.get());
}

void HostProbe::Stop() { checks_->Stop(); }

void HostProbe::Checks::Stop() {
  if (source != 0) g_source_remove(source);
  source = 0;
  // Its callback still comes, told it was cancelled, and then touches nothing of ours.
  if (on_its_way != nullptr) {
    g_cancellable_cancel(on_its_way);
    g_object_unref(on_its_way);
    on_its_way = nullptr;
  }
  address.clear();
}

gboolean HostProbe::Checks::OnTime(gpointer data) {
  auto* self = static_cast<Checks*>(data);
  if (std::chrono::steady_clock::now() - self->since > kHostCheckFor) {
    self->source = 0;
    return G_SOURCE_REMOVE;
  }
  if (self->on_its_way == nullptr) self->Check();
  return G_SOURCE_CONTINUE;
}

void HostProbe::Checks::Check() {
  GSocketClient* client = g_socket_client_new();
  // The host itself: a proxy that answers says nothing of the service behind it.
  g_socket_client_set_enable_proxy(client, FALSE);
  g_socket_client_set_timeout(client, kConnectSeconds);
  on_its_way = g_cancellable_new();
  const guint16 port = address.starts_with("https:") ? 443 : 80;
  g_socket_client_connect_to_uri_async(client, address.c_str(), port, on_its_way,
                                       &HostProbe::Checks::OnConnected, this);
  g_object_unref(client);  // the connection on its way holds it
}

void HostProbe::Checks::OnConnected(GObject* client, GAsyncResult* result, gpointer data) {
  GError* error = nullptr;
  GSocketConnection* connection =
      g_socket_client_connect_to_uri_finish(G_SOCKET_CLIENT(client), result, &error);
  const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
  const bool answered = connection != nullptr;
  if (error != nullptr) g_error_free(error);
  if (connection != nullptr) g_object_unref(connection);  // closed: nothing is asked of it
  if (cancelled) return;
  auto* self = static_cast<Checks*>(data);
  g_object_unref(self->on_its_way);
  self->on_its_way = nullptr;
  self->checked(answered);
}

}  // namespace talvo
