#include "platform/web/stream_watch.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace talvo {
namespace {

std::optional<MediaReport::Kind> KindOf(std::string_view word) {
  using K = MediaReport::Kind;
  if (word == "playing") return K::kPlaying;
  if (word == "pause") return K::kPause;
  if (word == "ended") return K::kEnded;
  if (word == "error") return K::kError;
  if (word == "waiting") return K::kWaiting;
  if (word == "progress") return K::kProgress;
  return std::nullopt;
}

// Script numbers as the script prints them: "Infinity" and "NaN" included.
double NumberOf(const std::string& word) {
  if (word == "Infinity") return INFINITY;
  char* end = nullptr;
  const double value = std::strtod(word.c_str(), &end);
  return end != word.c_str() && *end == '\0' ? value : NAN;
}

}  // namespace

std::optional<MediaReport> ParseMediaReport(std::string_view message) {
  std::istringstream words{std::string(message)};
  std::string tag, element, kind, time, duration;
  if (!(words >> tag >> element >> kind >> time >> duration) || tag != "media") return std::nullopt;
  const std::optional<MediaReport::Kind> known = KindOf(kind);
  char* end = nullptr;
  const long id = std::strtol(element.c_str(), &end, 10);
  if (!known || *end != '\0' || id <= 0 || id > 1'000'000) return std::nullopt;
  MediaReport report;
  report.element = static_cast<int>(id);
  report.kind = *known;
  report.time = NumberOf(time);
  report.duration = NumberOf(duration);
  words >> report.origin;
  return report;
}

bool StreamRule::Reported(const MediaReport& report, Clock::time_point now) {
  using K = MediaReport::Kind;
  // A page of many elements is still one page: a bound on what it can make us keep.
  if (!elements_.contains(report.element) && elements_.size() >= 64) return false;
  Element& element = elements_[report.element];
  const bool length = std::isfinite(report.duration) && report.duration > 0;
  switch (report.kind) {
    case K::kPlaying:
      element.played = true;
      element.endless = element.endless || !length;
      element.waiting_since.reset();
      return false;
    case K::kProgress:
      if (element.played && !length) element.endless = true;
      if (element.waiting_since && report.time != element.waiting_at) element.waiting_since.reset();
      return false;
    case K::kWaiting:
      if (element.played && !element.waiting_since) {
        element.waiting_since = now;
        element.waiting_at = report.time;
      }
      return false;
    case K::kPause:  // the viewer's, or the one an end or a failure brings
      element.waiting_since.reset();
      return false;
    case K::kEnded: {
      element.waiting_since.reset();
      // A clip that played to its length ended as it should; a stream ended early or endless did
      // not.
      const bool early = length && report.time < report.duration - 1;
      const bool stopped = element.played && (element.endless || !length || early);
      element.played = element.played && !stopped;
      return stopped;
    }
    case K::kError: {
      const bool stopped = element.played;
      element.played = false;
      element.waiting_since.reset();
      return stopped;
    }
  }
  return false;
}

bool StreamRule::Stalled(Clock::time_point now) {
  for (auto& [id, element] : elements_) {
    if (element.waiting_since && now - *element.waiting_since >= kStallFor) {
      element.waiting_since.reset();
      element.played = false;
      return true;
    }
  }
  return false;
}

}  // namespace talvo
