// The sleep timer (定时关闭): a length the viewer chooses, the time left on the monotonic clock
// (a change of the system's clock neither shortens nor lengthens it), the sound faded out over
// the last 30 s through the viewer's volume (over its second half for a timer shorter than a
// minute), then the playback stopped.
#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string>

namespace talvo {

using SleepClock = std::chrono::steady_clock;

inline constexpr std::array<int, 5> kSleepChoices = {15, 30, 45, 60, 90};  // minutes
inline constexpr std::chrono::seconds kSleepFade{30};

// What the timer asks of the playback at one moment.
struct SleepStep {
  std::optional<int> volume;  // the faded volume in percent while it fades
  bool stop = false;          // the time is up: the playback stops
  bool operator==(const SleepStep&) const = default;
};

class SleepTimer {
 public:
  // Runs from `now` for `length`; a timer that runs starts again.
  void Set(SleepClock::duration length, SleepClock::time_point now);
  void Cancel() { end_.reset(); }
  bool Running() const { return end_.has_value(); }

  // The whole minutes left, a minute begun counting whole; nothing when it does not run.
  std::optional<int> MinutesLeft(SleepClock::time_point now) const;
  // At `now`, for the viewer's `volume`: before the fade nothing; over the fade the volume
  // falling in proportion to the time left; at the end the stop, after which it no longer runs.
  SleepStep Step(SleepClock::time_point now, int volume);

 private:
  std::optional<SleepClock::time_point> end_;
  SleepClock::duration fade_ = kSleepFade;
};

// A length as its choice reads: "30 分钟".
std::u16string SleepChoiceLabel(int minutes);
// The entry's caption: "定时关闭", or "定时关闭（还剩 23 分钟）" while it runs.
std::u16string SleepTimerCaption(std::optional<int> minutes_left);

}  // namespace talvo
