#include "mainwindow/cast_menu_ui.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/menu.h>

#include <utility>

#include "core/debug_trace.h"
#include "core/utf.h"
#include "mainwindow/viewer_memory_ui.h"
#include "platform/accessible_ui.h"
#include "platform/clickable_menu_bar.h"
#include "platform/save_notice_ui.h"
#include "platform/web/browser_view.h"
#include "platform/wx_text.h"

namespace talvo {
namespace {

// The renderers answer within a second of the search (it says so); the second more is for
// their descriptions.
constexpr std::chrono::milliseconds kSearchWindow{2000};
// A search older than this is made again when the menu opens.
constexpr std::chrono::seconds kSearchKept{10};
// How often a TV that plays is asked whether it is still there.
constexpr int kCheckMs = 5000;
constexpr int kFirstEntryId = 100;
constexpr int kStopId = 1;

}  // namespace

CastMenu::CastMenu(const Form1Parts& parts, ViewerMemory& viewer,
                   std::function<std::u16string()> playing_name)
    : parts_(parts),
      viewer_(viewer),
      playing_name_(std::move(playing_name)),
      on_check_(&check_, wxEVT_TIMER, [this](wxTimerEvent&) { CheckRenderer(); }) {
  parts_.menus->SetOnClick(kTouping, [this] { touping_Click(); });
  parts_.web_browser1->SetMediaChanged([this] { MediaChanged(); });
}

// The menu bar and the view outlive the unit. A TV that plays goes on playing: the viewer may
// close the client and watch on.
CastMenu::~CastMenu() {
  check_.Stop();
  parts_.menus->SetOnClick(kTouping, nullptr);
  parts_.web_browser1->SetMediaChanged(nullptr);
  network_.Cancel();
  {
    std::lock_guard lock(jobs_mutex_);
    stopping_ = true;
    jobs_.clear();
  }
  jobs_changed_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void CastMenu::Post(std::function<void()> job) {
  {
    std::lock_guard lock(jobs_mutex_);
    jobs_.push_back(std::move(job));
  }
  jobs_changed_.notify_all();
  if (worker_.joinable()) return;
  worker_ = std::thread([this] {
    for (;;) {
      std::function<void()> next;
      {
        std::unique_lock lock(jobs_mutex_);
        jobs_changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (stopping_) return;
        next = std::move(jobs_.front());
        jobs_.pop_front();
      }
      next();
    }
  });
}

void CastMenu::BackOnLoop(std::function<void()> then) {
  wxTheApp->CallAfter([alive = std::weak_ptr<const bool>(alive_), then = std::move(then)] {
    if (!alive.expired()) then();
  });
}

void CastMenu::Changed() {
  if (on_change_) on_change_();
}

std::vector<CastMenuEntry> CastMenu::Entries() const {
  CastMenuState state;
  state.found = found_;
  state.searching = searching_;
  state.castable = CastSourceOf(parts_.web_browser1->Media()).has_value();
  if (casting_) state.casting = casting_->udn;
  return CastMenuEntries(state);
}

void CastMenu::touping_Click() {
  const bool never_searched = searched_at_ == std::chrono::steady_clock::time_point();
  if (never_searched || std::chrono::steady_clock::now() - searched_at_ > kSearchKept) Search();
  // The first time, the menu waits for the search: an empty menu would say nothing true.
  if (never_searched) {
    open_when_found_ = true;
    parts_.menus->SetCaption(kTouping, u"投屏（查找中…）");
    return;
  }
  ShowMenu();
}

void CastMenu::ShowMenu() {
  wxMenu menu;
  const std::vector<CastMenuEntry> entries = Entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const CastMenuEntry& entry = entries[i];
    switch (entry.kind) {
      case CastMenuEntry::kSeparator:
        menu.AppendSeparator();
        break;
      case CastMenuEntry::kRenderer:
        menu.AppendCheckItem(kFirstEntryId + static_cast<int>(entry.renderer), ToWx(entry.label))
            ->Check(entry.checked);
        menu.Enable(kFirstEntryId + static_cast<int>(entry.renderer), entry.enabled);
        break;
      case CastMenuEntry::kStop:
        menu.Append(kStopId, ToWx(entry.label))->Enable(entry.enabled);
        break;
      case CastMenuEntry::kNote:
        menu.Append(kFirstEntryId - 1 - static_cast<int>(i), ToWx(entry.label))->Enable(false);
        break;
    }
  }
  const int chosen = parts_.frame->GetPopupMenuSelectionFromUser(menu);
  if (chosen == kStopId) StopCasting();
  if (chosen >= kFirstEntryId && static_cast<std::size_t>(chosen - kFirstEntryId) < found_.size()) {
    CastTo(found_[chosen - kFirstEntryId]);
  }
}

void CastMenu::Search() {
  if (searching_) return;
  searching_ = true;
  searched_at_ = std::chrono::steady_clock::now();
  Post([this] {
    std::vector<Renderer> answered = network_.FindRenderers(kSearchWindow);
    BackOnLoop([this, answered = std::move(answered)]() mutable {
      searching_ = false;
      found_ = CastRenderersFound(std::move(answered), casting_);
      DebugTrace("cast", std::to_string(found_.size()) + " renderers found");
      parts_.menus->SetCaption(kTouping, casting_ ? u"投屏中" : u"投屏");
      Changed();
      if (open_when_found_) {
        open_when_found_ = false;
        ShowMenu();
      }
    });
  });
}

void CastMenu::CastTo(const Renderer& renderer) {
  const std::optional<CastSource> source = CastSourceOf(parts_.web_browser1->Media());
  if (!source) {
    parts_.save_notice->Tell(kNotCastable);
    return;
  }
  Send(renderer, *source, true);
}

void CastMenu::Send(const Renderer& renderer, const CastSource& source, bool first) {
  const std::string metadata = CastMetadata(Utf16ToUtf8(playing_name_()), source);
  DebugTrace("cast", renderer.name + ": sent " + source.address);
  Post([this, renderer, source, metadata, first] {
    const CastResult result = network_.Cast(renderer, source.address, metadata);
    BackOnLoop([this, renderer, source, result, first] {
      if (result.outcome == CastOutcome::kDone) {
        Started(renderer, source);
        return;
      }
      DebugTrace("cast", renderer.name + ": " + result.detail);
      const std::u16string told = CastTroubleWords(result.outcome, renderer.name, !first);
      // A channel the TV refused leaves it where it was; a TV gone ends the casting.
      if (casting_ && casting_->udn == renderer.udn && result.outcome == CastOutcome::kGone) {
        Ended(told);
      } else {
        parts_.save_notice->Tell(told);
        AnnounceToReaders(parts_.frame, told);
        Changed();
      }
    });
  });
}

void CastMenu::Started(const Renderer& renderer, const CastSource& source) {
  const bool other = casting_ && casting_->udn != renderer.udn;
  if (other) {
    const Renderer before = *casting_;
    Post([this, before] { network_.Stop(before); });
  }
  casting_ = renderer;
  sent_ = source;
  parts_.web_browser1->SetSound(true, viewer_.Choices().volume);
  viewer_.SetSoundTaken(
      [this](bool muted, int volume) {
        parts_.web_browser1->SetSound(true, volume);
        pending_volume_ = muted ? 0 : volume;
        SendVolume();
      },
      // The sleep timer's end stops the TV too.
      [this] { StopCasting(); });
  const std::u16string line = CastingLine(renderer.name);
  parts_.web_browser1->SetCastLine(line);
  parts_.menus->SetCaption(kTouping, u"投屏中");
  AnnounceToReaders(parts_.frame, line);
  DebugTrace("cast", renderer.name + ": plays " + source.address);
  check_.Start(kCheckMs);
  Changed();
}

// Keys held down make many steps: the TV gets the newest, one request at a time.
void CastMenu::SendVolume() {
  if (volume_out_ || !casting_ || casting_->rendering_control.empty() || pending_volume_ < 0) {
    return;
  }
  volume_out_ = true;
  const Renderer renderer = *casting_;
  const int percent = std::exchange(pending_volume_, -1);
  Post([this, renderer, percent] {
    const CastResult result = network_.SetVolume(renderer, percent);
    BackOnLoop([this, renderer, result] {
      volume_out_ = false;
      if (result.outcome != CastOutcome::kDone) {
        DebugTrace("cast", renderer.name + ": " + result.detail);
      }
      Changed();
      SendVolume();
    });
  });
}

void CastMenu::StopCasting() {
  if (!casting_) return;
  const Renderer renderer = *casting_;
  Post([this, renderer] {
    const CastResult result = network_.Stop(renderer);
    if (result.outcome != CastOutcome::kDone) {
      BackOnLoop([renderer, result] { DebugTrace("cast", renderer.name + ": " + result.detail); });
    }
  });
  DebugTrace("cast", renderer.name + ": stopped");
  Ended(u"已停止投屏");
}

void CastMenu::Ended(const std::u16string& told) {
  check_.Stop();
  casting_.reset();
  sent_.reset();
  viewer_.SetSoundTaken(nullptr);
  parts_.web_browser1->SetCastLine(u"");
  parts_.menus->SetCaption(kTouping, u"投屏");
  parts_.save_notice->Tell(told);
  AnnounceToReaders(parts_.frame, told);
  Changed();
}

// A new channel, or the same one come back: the TV gets what the view now plays.
void CastMenu::MediaChanged() {
  if (!casting_) return;
  const std::optional<CastSource> source = CastSourceOf(parts_.web_browser1->Media());
  if (!source || source == sent_) return;
  Send(*casting_, *source, false);
}

void CastMenu::CheckRenderer() {
  if (!casting_) return;
  const Renderer renderer = *casting_;
  Post([this, renderer] {
    const CastResult result = network_.Check(renderer);
    BackOnLoop([this, renderer, result] {
      // Refusing the question is an answer: only silence ends it.
      if (result.outcome != CastOutcome::kGone || !casting_ || casting_->udn != renderer.udn) {
        return;
      }
      DebugTrace("cast", renderer.name + ": no answer (" + result.detail + ")");
      Ended(CastTroubleWords(CastOutcome::kGone, renderer.name, true));
    });
  });
}

}  // namespace talvo
