// 投屏 at work: its entry on the menu bar lists the TVs of the home network (searched for on
// the first click, never before, and again on later ones); choosing one sends it what the
// playback view plays, titled with the channel's name. While a TV plays it, the view is muted
// under a line of ours, a change of channel goes to the TV, the volume keys reach the TV, and a TV
// that stops answering ends it with a word to the viewer. The network is spoken to from a worker
// thread of the unit's own; results come back to the event loop.
#pragma once

#include <wx/timer.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/home_network.h"
#include "mainwindow/cast_menu.h"
#include "mainwindow/form1_parts.h"
#include "platform/bound_handler.h"
#include "platform/web/cast_source.h"

namespace talvo {

class ViewerMemory;

class CastMenu {
 public:
  // `playing_name` names the page on show, the title the TV shows.
  CastMenu(const Form1Parts& parts, ViewerMemory& viewer,
           std::function<std::u16string()> playing_name);
  ~CastMenu();
  CastMenu(const CastMenu&) = delete;
  CastMenu& operator=(const CastMenu&) = delete;

  void touping_Click();
  // A search of the home network; what it finds replaces what was found before.
  void Search();
  void CastTo(const Renderer& renderer);
  void StopCasting();

  const std::vector<Renderer>& Found() const { return found_; }
  const std::optional<Renderer>& Casting() const { return casting_; }
  std::vector<CastMenuEntry> Entries() const;
  // Runs whenever a search ends, casting starts or ends, or a TV was told something: what the
  // unit did with the network is then to be seen.
  void SetOnChange(std::function<void()> on_change) { on_change_ = std::move(on_change); }

 private:
  // `job` runs on the worker, after the ones before it.
  void Post(std::function<void()> job);
  // `then` runs on the event loop, unless the unit is gone by then.
  void BackOnLoop(std::function<void()> then);
  void ShowMenu();
  void Send(const Renderer& renderer, const CastSource& source, bool first);
  void Started(const Renderer& renderer, const CastSource& source);
  void Ended(const std::u16string& told);
  void MediaChanged();
  void CheckRenderer();
  void SendVolume();
  void Changed();

  const Form1Parts& parts_;
  ViewerMemory& viewer_;
  std::function<std::u16string()> playing_name_;
  std::function<void()> on_change_;
  std::vector<Renderer> found_;
  bool searching_ = false;
  bool open_when_found_ = false;
  std::chrono::steady_clock::time_point searched_at_;
  std::optional<Renderer> casting_;
  std::optional<CastSource> sent_;
  int pending_volume_ = -1;
  bool volume_out_ = false;
  wxTimer check_;
  BoundHandler<wxTimerEvent> on_check_;

  HomeNetwork network_;
  std::mutex jobs_mutex_;
  std::condition_variable jobs_changed_;
  std::deque<std::function<void()>> jobs_;
  bool stopping_ = false;
  std::thread worker_;
  std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};

}  // namespace talvo
