#include "platform/web/host_probe_gio.h"

#include "platform/web/page_outage.h"

namespace talvo {
namespace {

// A check that takes longer than this found nothing: the next one starts on time.
constexpr guint kConnectSeconds = 2;

}  // namespace

HostProbe::HostProbe(std::function<void(bool)> checked) : checked_(std::move(checked)) {}

HostProbe::~HostProbe() { Stop(); }

void HostProbe::Watch(const std::string& address) {
  if (address == address_ && source_ != 0) return;
  Stop();
  address_ = address;
  since_ = std::chrono::steady_clock::now();
  source_ = g_timeout_add(static_cast<guint>(kHostCheckEvery.count()), &HostProbe::OnTime, this);
}

void HostProbe::Stop() {
  if (source_ != 0) g_source_remove(source_);
  source_ = 0;
  // Its callback still comes, told it was cancelled, and then touches nothing of ours.
  if (on_its_way_ != nullptr) {
    g_cancellable_cancel(on_its_way_);
    g_object_unref(on_its_way_);
    on_its_way_ = nullptr;
  }
  address_.clear();
}

gboolean HostProbe::OnTime(gpointer data) {
  auto* self = static_cast<HostProbe*>(data);
  if (std::chrono::steady_clock::now() - self->since_ > kHostCheckFor) {
    self->source_ = 0;
    return G_SOURCE_REMOVE;
  }
  if (self->on_its_way_ == nullptr) self->Check();
  return G_SOURCE_CONTINUE;
}

void HostProbe::Check() {
  GSocketClient* client = g_socket_client_new();
  // The host itself: a proxy that answers says nothing of the service behind it.
  g_socket_client_set_enable_proxy(client, FALSE);
  g_socket_client_set_timeout(client, kConnectSeconds);
  on_its_way_ = g_cancellable_new();
  const guint16 port = address_.starts_with("https:") ? 443 : 80;
  g_socket_client_connect_to_uri_async(client, address_.c_str(), port, on_its_way_,
                                       &HostProbe::OnConnected, this);
  g_object_unref(client);  // the connection on its way holds it
}

void HostProbe::OnConnected(GObject* client, GAsyncResult* result, gpointer data) {
  GError* error = nullptr;
  GSocketConnection* connection =
      g_socket_client_connect_to_uri_finish(G_SOCKET_CLIENT(client), result, &error);
  const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
  const bool answered = connection != nullptr;
  if (error != nullptr) g_error_free(error);
  if (connection != nullptr) g_object_unref(connection);  // closed: nothing is asked of it
  if (cancelled) return;
  auto* self = static_cast<HostProbe*>(data);
  g_object_unref(self->on_its_way_);
  self->on_its_way_ = nullptr;
  self->checked_(answered);
}

}  // namespace talvo
