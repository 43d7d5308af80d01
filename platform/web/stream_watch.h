// Whether the stream under a page that stays stopped without the viewer: the rule over what the
// page's media elements report (the watch script, page_scripts.h), without the engine.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace talvo {

// One report of the watch script: "media <element> <kind> <currentTime> <duration> <origin>".
struct MediaReport {
  enum class Kind { kPlaying, kPause, kEnded, kError, kWaiting, kProgress };
  int element = 0;
  Kind kind = Kind::kProgress;
  double time = 0;
  double duration = 0;  // Infinity for a live or endless stream, NaN before it is known
  std::string origin;  // "http://host:port" of the stream (of the page for a script player), or "-"
};
std::optional<MediaReport> ParseMediaReport(std::string_view message);

// How long an element that played may wait without its time moving before its stream counts as
// stopped: a page's own player that recovers within it is left alone.
inline constexpr std::chrono::seconds kStallFor{4};

class StreamRule {
 public:
  using Clock = std::chrono::steady_clock;
  // True when this report shows that a stream that played has stopped without the viewer: it
  // ended though it has no end of its own, or it failed. Each stop is told once.
  bool Reported(const MediaReport& report, Clock::time_point now);
  // True when an element that played has waited kStallFor with its time standing still.
  bool Stalled(Clock::time_point now);
  // A new page, or the stream is back: everything known is forgotten.
  void Reset() { elements_.clear(); }

 private:
  struct Element {
    bool played = false;
    bool endless = false;  // its duration was never a length while it played
    std::optional<Clock::time_point> waiting_since;
    double waiting_at = 0;
  };
  std::map<int, Element> elements_;
};

}  // namespace talvo
