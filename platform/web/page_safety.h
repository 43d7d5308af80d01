// What the browser views decide for themselves about a page's downloads and its reloads,
// without the engine: the name a download is offered under, and how often a view may load its
// page again after the page process ended.
#pragma once

#include <chrono>
#include <deque>
#include <string>
#include <string_view>

namespace talvo {

// The file name a download is suggested under in the save dialog: the last part of whatever the
// server sent (no folder, no ".."), without control characters or leading dots and blanks, at
// most 200 bytes of whole UTF-8 characters; "download" when nothing is left.
std::string SafeDownloadName(std::string_view suggested);

// The file name a Content-Disposition header offers (filename="…", filename=token, or
// filename*=UTF-8''…, percent-decoded), as sent; empty when there is none.
std::string DispositionFileName(std::string_view header);

// At most `limit` reloads in any `window`: a page that keeps ending its process is not loaded
// again and again.
class ReloadBudget {
 public:
  using Clock = std::chrono::steady_clock;
  explicit ReloadBudget(int limit = 3, Clock::duration window = std::chrono::minutes(1))
      : limit_(limit), window_(window) {}

  // True, and counted, when a reload at `now` stays within the budget.
  bool Take(Clock::time_point now);

 private:
  int limit_;
  Clock::duration window_;
  std::deque<Clock::time_point> taken_;
};

}  // namespace talvo
