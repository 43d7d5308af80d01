// The control point of 投屏: finds the media renderers of the home network and tells one what to
// play. Every call blocks, bounded to seconds, and is meant for a worker thread; Cancel() ends
// the ones in flight at once, so a window closing never waits on a TV.
#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "core/upnp.h"

namespace talvo {

// What became of an action: done, refused by the renderer (a SOAP fault, an HTTP error), or no
// answer at all (gone from the network, or cancelled).
enum class CastOutcome { kDone, kRefused, kGone };
struct CastResult {
  CastOutcome outcome = CastOutcome::kGone;
  std::string detail;  // for the log: the fault's code and text, or the transfer's error
};

class HomeNetwork {
 public:
  // The renderers that answer within `window`, one for each device, in the order they answered.
  std::vector<Renderer> FindRenderers(std::chrono::milliseconds window);
  // The renderer plays `address`, described by the DIDL-Lite `metadata`.
  CastResult Cast(const Renderer& renderer, const std::string& address,
                  const std::string& metadata);
  CastResult Stop(const Renderer& renderer);
  // Only where the renderer has RenderingControl; refused otherwise.
  CastResult SetVolume(const Renderer& renderer, int percent);
  // Whether the renderer still answers.
  CastResult Check(const Renderer& renderer);
  void Cancel() { cancelled_ = true; }

 private:
  CastResult Act(const std::string& control, const SoapAction& action);

  std::atomic<bool> cancelled_{false};
};

}  // namespace talvo
