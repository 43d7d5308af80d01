#include <glib-unix.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/debug_trace.h"
#include "platform/single_instance.h"

namespace talvo {
namespace {

// What a later start sends: this word, its startup notification id, and a line's end.
constexpr std::string_view kShow = "show ";
constexpr std::size_t kLongestRequest = 512;

// An abstract name: no file is left behind by a client that was killed, and the kernel lets the
// name go with the last process that held it.
struct AbstractAddress {
  explicit AbstractAddress(const std::string& name) {
    address.sun_family = AF_UNIX;
    const std::size_t length = std::min(name.size(), sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, name.data(), length);
    size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
  }
  const sockaddr* get() const { return reinterpret_cast<const sockaddr*>(&address); }
  sockaddr_un address{};
  socklen_t size = 0;
};

// Abstract names have no owner or permissions: only a process of this user counts.
bool SameUser(int fd) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == getuid();
}

class SocketInstance : public SingleInstance {
 public:
  explicit SocketInstance(int fd) : fd_(fd) {
    source_ = g_unix_fd_add(fd_, G_IO_IN, &SocketInstance::OnConnection, this);
  }
  ~SocketInstance() override {
    g_source_remove(source_);
    for (const auto& [fd, source] : readers_) {
      g_source_remove(source);
      close(fd);
    }
    close(fd_);
  }
  // A request that came while the window was still being made is answered once it exists.
  void SetOnShow(std::function<void(const std::string&)> on_show) override {
    on_show_ = std::move(on_show);
    if (on_show_ && pending_) on_show_(*std::exchange(pending_, std::nullopt));
  }

 private:
  struct Reader {
    SocketInstance* self;
    int fd;
    std::string request;
  };

  static gboolean OnConnection(gint fd, GIOCondition, gpointer data) {
    auto* self = static_cast<SocketInstance*>(data);
    const int peer = accept4(fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (peer < 0) return G_SOURCE_CONTINUE;
    if (!SameUser(peer)) {
      close(peer);
      return G_SOURCE_CONTINUE;
    }
    // The request is read as it arrives: a peer that sends nothing holds up nothing.
    auto* reader = new Reader{self, peer, {}};
    const guint source = g_unix_fd_add_full(
        G_PRIORITY_DEFAULT, peer, G_IO_IN, &OnReadable, reader,
        +[](gpointer r) { delete static_cast<Reader*>(r); });
    self->readers_.emplace_back(peer, source);
    return G_SOURCE_CONTINUE;
  }

  static gboolean OnReadable(gint fd, GIOCondition, gpointer data) {
    auto* reader = static_cast<Reader*>(data);
    char buffer[256];
    const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) return G_SOURCE_CONTINUE;
    if (got > 0) reader->request.append(buffer, static_cast<std::size_t>(got));
    const std::size_t end = reader->request.find('\n');
    if (got > 0 && end == std::string::npos && reader->request.size() < kLongestRequest) {
      return G_SOURCE_CONTINUE;
    }
    SocketInstance* self = reader->self;
    std::erase_if(self->readers_, [fd](const auto& entry) { return entry.first == fd; });
    close(fd);
    if (end != std::string::npos && reader->request.starts_with(kShow)) {
      const std::string startup_id = reader->request.substr(kShow.size(), end - kShow.size());
      DebugTrace("start", "another start asked for the window");
      if (self->on_show_) {
        self->on_show_(startup_id);
      } else {
        self->pending_ = startup_id;
      }
    }
    return G_SOURCE_REMOVE;
  }

  int fd_;
  guint source_ = 0;
  std::vector<std::pair<int, guint>> readers_;
  std::function<void(const std::string&)> on_show_;
  std::optional<std::string> pending_;
};

// Runs as if alone: the means were refused, and a start is never stopped for that.
class Alone : public SingleInstance {
 public:
  void SetOnShow(std::function<void(const std::string&)>) override {}
};

// Sends the request to the client that holds the name; false when none answered as this user.
bool AskTheHolder(const AbstractAddress& address) {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool asked = false;
  if (connect(fd, address.get(), address.size) == 0 && SameUser(fd)) {
    const char* id = std::getenv("DESKTOP_STARTUP_ID");
    std::string request = std::string(kShow) + (id != nullptr ? id : "");
    request.erase(std::remove(request.begin(), request.end(), '\n'), request.end());
    request += '\n';
    asked = send(fd, request.data(), request.size(), MSG_NOSIGNAL) ==
            static_cast<ssize_t>(request.size());
  }
  close(fd);
  return asked;
}

}  // namespace

std::unique_ptr<SingleInstance> HoldAppFolder(const std::filesystem::path& folder) {
  const AbstractAddress address(AppFolderInstanceName(folder));
  // A holder that ends between the two steps lets the name go: then this start takes it.
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) break;
    if (bind(fd, address.get(), address.size) == 0 && listen(fd, 8) == 0) {
      return std::make_unique<SocketInstance>(fd);
    }
    const int bind_error = errno;
    close(fd);
    if (bind_error != EADDRINUSE) break;
    if (AskTheHolder(address)) return nullptr;
  }
  DebugTrace("start", "the application folder could not be held: this client runs apart");
  return std::make_unique<Alone>();
}

}  // namespace talvo
