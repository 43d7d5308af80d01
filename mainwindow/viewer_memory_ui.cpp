#include "mainwindow/viewer_memory_ui.h"

#include <utility>

#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/weakref.h>

#include "core/utf.h"
#include "platform/save_notice_ui.h"
#include "platform/web/browser_view.h"
#include "platform/wx_text.h"

namespace talvo {
namespace {

enum MenuId {
  kFavouriteId = wxID_HIGHEST + 1,
  kMuteId,
  kLouderId,
  kQuieterId,
  kResumeId,
  kRemoveMissingId,
  kFirstOptionId,
  kFirstFavouriteId = kFirstOptionId + 100,
};

}  // namespace

ViewerMemory::ViewerMemory(const Form1Parts& parts, PageList& channels, PageList& stations,
                           std::function<std::u16string()> account)
    : parts_(parts),
      channels_(channels),
      stations_(stations),
      account_(std::move(account)),
      on_channels_menu_(
          channels.List(), wxEVT_CONTEXT_MENU,
          [this](wxContextMenuEvent& event) { OnContextMenu(PageKind::kChannel, event); }),
      on_stations_menu_(
          stations.List(), wxEVT_CONTEXT_MENU,
          [this](wxContextMenuEvent& event) { OnContextMenu(PageKind::kStation, event); }),
      on_channels_key_(channels.List(), wxEVT_KEY_DOWN,
                       [this](wxKeyEvent& event) { OnListKey(event); }),
      on_stations_key_(stations.List(), wxEVT_KEY_DOWN,
                       [this](wxKeyEvent& event) { OnListKey(event); }) {
  ChoicesFile file = ChoicesFile::kMissing;
  choices_ = LoadViewerChoices(parts_.app_folder, file);
  unreadable_ = file == ChoicesFile::kUnreadable;
  if (file == ChoicesFile::kReplace) Save();
  for (const PageKind kind : {PageKind::kChannel, PageKind::kStation}) {
    ListOf(kind).SetOpened(
        [this, kind](std::size_t, const std::u16string& address) { Opened(kind, address); });
    ListOf(kind).SetMarked([this](const std::u16string& address) {
      return !choices_.favourites.empty() && choices_.IsFavourite(marked_account_, address);
    });
  }
  SoundChanged();
}

// The lists outlive the unit: nothing of it may stay behind on them.
ViewerMemory::~ViewerMemory() {
  for (const PageKind kind : {PageKind::kChannel, PageKind::kStation}) {
    ListOf(kind).SetOpened(nullptr);
    ListOf(kind).SetMarked(nullptr);
  }
}

// A failed save keeps the choices in memory: the next change saves them all again.
void ViewerMemory::Save() {
  // A file that could not be read may hold the favourites: the choices of this run stay in
  // memory, and the viewer is told once.
  if (unreadable_) {
    if (parts_.save_notice && !told_unreadable_)
      parts_.save_notice->Tell(u"无法读取设置，更改不会保存");
    told_unreadable_ = true;
    if (on_change_) on_change_();
    return;
  }
  const SaveTrouble trouble = SaveViewerChoices(parts_.app_folder, choices_);
  if (parts_.save_notice) parts_.save_notice->Saved(u"设置", trouble);
  if (on_change_) on_change_();
}

void ViewerMemory::Opened(PageKind kind, const std::u16string& address) {
  const bool was_on_show = std::exchange(on_show_, true);
  if (choices_.Played({kind, address})) {
    Save();
  } else if (!was_on_show && on_change_) {
    on_change_();
  }
}

void ViewerMemory::PlaybackStopped() {
  on_show_ = false;
  // A copy: the call gives the sound back, which clears the member.
  if (const std::function<void()> stopped = stopped_while_taken_) stopped();
  if (on_change_) on_change_();
}

bool ViewerMemory::PlayFromList(PageKind kind, const std::u16string& address) {
  const std::optional<std::size_t> position = ListOf(kind).Find(address);
  if (position) ListOf(kind).Play(*position);
  return position.has_value();
}

void ViewerMemory::Play(PageKind kind, const std::u16string& address) {
  if (!PlayFromList(kind, address) && parts_.web_browser1->NavigateToWebAddress(address)) {
    Opened(kind, address);
  }
}

bool ViewerMemory::Resume() {
  if (!choices_.resume || !choices_.played) return false;
  const PlayedPage last = *choices_.played;
  Play(last.kind, last.address);
  return true;
}

void ViewerMemory::Back() {
  if (!choices_.before) return;
  const PlayedPage before = *choices_.before;
  Play(before.kind, before.address);
}

void ViewerMemory::SoundChanged() { ApplySound(choices_.muted, choices_.volume); }

void ViewerMemory::ApplySound(bool muted, int volume) {
  if (sound_taken_) {
    sound_taken_(muted, volume);
  } else {
    parts_.web_browser1->SetSound(muted, volume);
  }
}

void ViewerMemory::SetSoundTaken(std::function<void(bool muted, int volume)> sound,
                                 std::function<void()> stopped) {
  sound_taken_ = std::move(sound);
  stopped_while_taken_ = std::move(stopped);
  // Given back, the view plays as the viewer set it; taken, the taker sets what it needs.
  if (!sound_taken_) SoundChanged();
}

void ViewerMemory::ToggleMute() {
  choices_.muted = !choices_.muted;
  SoundChanged();
  Save();
}

void ViewerMemory::StepVolume(int by) {
  const int volume = choices_.volume;
  choices_.StepVolume(by);
  if (choices_.volume == volume) return;
  SoundChanged();
  Save();
}

void ViewerMemory::ToggleResume() {
  choices_.resume = !choices_.resume;
  Save();
}

void ViewerMemory::ToggleCloseToTray() {
  choices_.close_to_tray = !choices_.close_to_tray;
  Save();
}

void ViewerMemory::KeepPlaces(const std::optional<WindowPlace>& window,
                              const std::optional<PlaceRect>& small_window) {
  if (choices_.window == window && choices_.small_window == small_window) return;
  choices_.window = window;
  choices_.small_window = small_window;
  Save();
}

void ViewerMemory::AccountChanged() {
  std::u16string account = account_();
  if (account == marked_account_) return;
  marked_account_ = std::move(account);
  MarkFavourites();
}

void ViewerMemory::MarkFavourites() {
  channels_.MarksChanged();
  stations_.MarksChanged();
}

void ViewerMemory::FavouritesChanged() {
  marked_account_ = account_();
  MarkFavourites();
  Save();
}

void ViewerMemory::ToggleFavourite(PageKind kind, std::size_t position) {
  const PageList& list = ListOf(kind);
  if (position >= list.Urls().Size()) return;
  const std::u16string& address = list.Urls().At(position);
  if (address.empty()) return;
  choices_.ToggleFavourite({account_(), kind, address, list.Name(position)});
  FavouritesChanged();
}

bool ViewerMemory::InAList(const Favourite& favourite) const {
  return channels_.Find(favourite.address) || stations_.Find(favourite.address);
}

void ViewerMemory::PlayFavourite(const Favourite& favourite) {
  for (const PageKind kind : {PageKind::kChannel, PageKind::kStation}) {
    if (PlayFromList(kind, favourite.address)) return;
  }
}

void ViewerMemory::RemoveMissingFavourites() {
  const std::u16string account = account_();
  const std::size_t removed = std::erase_if(choices_.favourites, [&](const Favourite& favourite) {
    return favourite.account == account && !InAList(favourite);
  });
  if (removed > 0) FavouritesChanged();
}

// Backspace in a list goes back, as a remote's last-channel key does; while the find box is open
// the focus is in the box, where Backspace edits.
void ViewerMemory::OnListKey(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_BACK && !event.HasAnyModifiers()) {
    Back();
    return;
  }
  event.Skip();
}

void ViewerMemory::OnContextMenu(PageKind kind, wxContextMenuEvent& event) {
  PageList& list = ListOf(kind);
  wxListBox* box = list.List();
  // From the keyboard's menu key there is no pointer position: the chosen row is meant.
  const std::optional<std::size_t> position =
      event.GetPosition() == wxDefaultPosition
          ? list.Chosen()
          : list.PositionOfRow(box->HitTest(box->ScreenToClient(event.GetPosition())));
  AccountChanged();  // a sign-in through the login window since may have changed it
  const std::vector<Favourite> favourites = choices_.FavouritesOf(marked_account_);
  wxMenu menu;
  BuildContextMenu(menu, kind, position, favourites);
  // A choice may play a page, which takes the focus: it goes back where it was, so that typing
  // finds in the list again.
  const wxWeakRef<wxWindow> focused(wxWindow::FindFocus());
  ActOnContextChoice(box->GetPopupMenuSelectionFromUser(menu), kind, position, favourites);
  if (focused) focused->SetFocus();
}

// The row's favourite mark when the row has a page, the account's favourites (those no longer in
// a list greyed, with a way to remove them), and the sound and the start.
void ViewerMemory::BuildContextMenu(wxMenu& menu, PageKind kind,
                                    std::optional<std::size_t> position,
                                    const std::vector<Favourite>& favourites) const {
  const PageList& list = ListOf(kind);
  if (position && !list.Urls().At(*position).empty()) {
    const bool favourite = choices_.IsFavourite(marked_account_, list.Urls().At(*position));
    menu.Append(kFavouriteId, ToWx(favourite ? u"取消收藏" : u"加入收藏"));
  }
  auto* kept = new wxMenu;
  bool missing = false;
  for (std::size_t i = 0; i < favourites.size(); ++i) {
    kept->Append(kFirstFavouriteId + static_cast<int>(i), ToWx(favourites[i].name));
    if (!InAList(favourites[i])) {
      kept->Enable(kFirstFavouriteId + static_cast<int>(i), false);
      missing = true;
    }
  }
  if (favourites.empty()) kept->Append(wxID_NONE, ToWx(u"（没有收藏）"))->Enable(false);
  if (missing) {
    kept->AppendSeparator();
    kept->Append(kRemoveMissingId, ToWx(u"移除已不在列表中的收藏"));
  }
  menu.AppendSubMenu(kept, ToWx(u"我的收藏"));
  menu.AppendSeparator();
  menu.AppendCheckItem(kMuteId, ToWx(u"静音"))->Check(choices_.muted);
  menu.Append(kLouderId,
              ToWx(u"音量加大（现为 " + Utf8ToUtf16(std::to_string(choices_.volume)) + u"%）"));
  menu.Append(kQuieterId, ToWx(u"音量减小"));
  menu.AppendCheckItem(kResumeId, ToWx(u"启动时播放上次频道"))->Check(choices_.resume);
  for (std::size_t i = 0; i < options_.size(); ++i) {
    menu.AppendCheckItem(kFirstOptionId + static_cast<int>(i), ToWx(options_[i].label()))
        ->Check(options_[i].checked());
  }
}

void ViewerMemory::ActOnContextChoice(int chosen, PageKind kind,
                                      std::optional<std::size_t> position,
                                      const std::vector<Favourite>& favourites) {
  if (chosen == kFavouriteId && position) ToggleFavourite(kind, *position);
  if (chosen == kMuteId) ToggleMute();
  if (chosen == kLouderId) StepVolume(1);
  if (chosen == kQuieterId) StepVolume(-1);
  if (chosen == kResumeId) ToggleResume();
  if (chosen == kRemoveMissingId) RemoveMissingFavourites();
  if (chosen >= kFirstOptionId && chosen < kFirstOptionId + static_cast<int>(options_.size())) {
    options_[static_cast<std::size_t>(chosen - kFirstOptionId)].toggle();
  }
  if (chosen >= kFirstFavouriteId &&
      chosen < kFirstFavouriteId + static_cast<int>(favourites.size())) {
    PlayFavourite(favourites[static_cast<std::size_t>(chosen - kFirstFavouriteId)]);
  }
}

}  // namespace talvo
