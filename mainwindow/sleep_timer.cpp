#include "mainwindow/sleep_timer.h"

#include <algorithm>
#include <cmath>

#include "core/utf.h"

namespace talvo {

void SleepTimer::Set(SleepClock::duration length, SleepClock::time_point now) {
  end_ = now + length;
  fade_ = std::min<SleepClock::duration>(kSleepFade, length / 2);
}

std::optional<int> SleepTimer::MinutesLeft(SleepClock::time_point now) const {
  if (!end_) return std::nullopt;
  const auto left = std::chrono::ceil<std::chrono::minutes>(*end_ - now);
  return std::max(static_cast<int>(left.count()), 0);
}

SleepStep SleepTimer::Step(SleepClock::time_point now, int volume) {
  if (!end_) return {};
  const SleepClock::duration left = *end_ - now;
  if (left <= SleepClock::duration::zero()) {
    end_.reset();
    return {.volume = std::nullopt, .stop = true};
  }
  if (left >= fade_) return {};
  const double share = std::chrono::duration<double>(left) / fade_;
  return {.volume = static_cast<int>(std::lround(volume * share)), .stop = false};
}

std::u16string SleepChoiceLabel(int minutes) {
  return Utf8ToUtf16(std::to_string(minutes)) + u" 分钟";
}

std::u16string SleepTimerCaption(std::optional<int> minutes_left) {
  if (!minutes_left) return u"定时关闭";
  return u"定时关闭（还剩 " + SleepChoiceLabel(*minutes_left) + u"）";
}

}  // namespace talvo
