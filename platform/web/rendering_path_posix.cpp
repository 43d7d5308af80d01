// The GL probe's child process, read and reaped the POSIX way; the Windows build has no probe.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "core/debug_trace.h"
#include "platform/web/rendering_path.h"

namespace talvo {

std::optional<std::string> ProbeAnswer(pid_t probe, int output, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  std::string text;
  bool ended = false;
  while (!ended) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd readable{output, POLLIN, 0};
    const int ready = ::poll(&readable, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    char buffer[256];
    const ssize_t got = ::read(output, buffer, sizeof buffer);
    if (got > 0) text.append(buffer, static_cast<std::size_t>(got));
    ended = got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN);
  }
  ::close(output);
  // Ended or not, it has nothing more to say.
  ::kill(probe, SIGKILL);
  int status = 0;
  const bool reaped = ::waitpid(probe, &status, 0) == probe;
  if (!ended) {
    DebugTrace("drawing",
               "the GL probe did not answer within " + std::to_string(bound.count()) + " ms");
    return std::nullopt;
  }
  const bool answered =
      !text.empty() && (!reaped || (WIFEXITED(status) && WEXITSTATUS(status) == 0));
  return answered ? std::optional<std::string>(text) : std::nullopt;
}

}  // namespace talvo
