// One HTTP GET for a complete URL, its body returned as text decoded from a named charset.
// Every failure (refused, timed out, reset, over the cap, not HTTP, unknown charset) gives the
// empty text; callers treat "empty" as "nothing arrived".
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace talvo {

struct FetchLimits {
  std::chrono::milliseconds connect{5000};
  std::chrono::milliseconds total{20000};
  std::size_t body_cap = 16u << 20;
  long max_redirects = 5;
  // As the configuration keeps it (ProxyUse says what it asks for); empty is "system".
  std::string proxy;
};

// Limits used by the two-argument FetchPage; the configuration sets them once at start-up.
void SetFetchLimits(const FetchLimits& limits);
FetchLimits CurrentFetchLimits();

// A transfer in flight, as seen by a wait hook.
class FetchCompletion {
 public:
  virtual ~FetchCompletion() = default;
  virtual bool IsDone() const = 0;
  // `wake` runs once, from the transfer's own thread, right after IsDone() becomes true (at once
  // if it already is). It must be thread-safe and quick: post a wake-up, nothing more.
  virtual void OnDone(std::function<void()> wake) = 0;
};

// How a fetch waits for its transfer. It must return only once IsDone() is true. The GUI installs
// one that keeps the event loop running; without one, the caller's thread simply blocks.
using FetchWaitHook = std::function<void(FetchCompletion&)>;
void SetFetchWaitHook(FetchWaitHook hook);

// GET `url` exactly as given (nothing added, escaped or encoded), following up to
// `max_redirects` redirects; the HTTP status is not examined, so an error page's body is
// returned like any other.
std::u16string FetchPage(std::u16string_view url, std::u16string_view charset);
std::u16string FetchPage(std::u16string_view url, std::u16string_view charset,
                         const FetchLimits& limits);

// The same fetch, saying whether an empty text means that no reply could be had at all: the host
// was not found, the connection was refused, reset or timed out, the secure connection failed, or
// the fetch itself failed.
// Whatever the service did send (an error page, a reply over the cap, a redirect too many) is its
// answer, and a fetch switched off is nobody's failure: neither counts as unreachable.
struct FetchedText {
  std::u16string text;
  bool unreachable = false;
};
FetchedText FetchPageReply(std::u16string_view url, std::u16string_view charset);
FetchedText FetchPageReply(std::u16string_view url, std::u16string_view charset,
                           const FetchLimits& limits);

// Does once what the first fetch would do first (the HTTP library's start, the GBK tables), so
// that it can run on another thread while the windows are being made. Safe to call anytime.
void PrepareFetching();

// Switched off, every transfer in flight ends at once and every later fetch gives the empty text
// without touching the network, so shutdown never waits on it. On by default.
void SetFetchesEnabled(bool enabled);

}  // namespace talvo
