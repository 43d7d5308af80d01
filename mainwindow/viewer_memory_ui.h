// The viewer's choices at work: favourites (★ in the lists, the lists' context menu, 我的收藏),
// going back to the page that played before (Backspace in a list), the playback view's sound
// (静音 and the volume, kept across channels and starts), and the start playing the last page
// again (启动时播放上次频道). Every change is saved at once.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "mainwindow/form1_parts.h"
#include "mainwindow/page_list_ui.h"
#include "mainwindow/viewer_memory.h"
#include "platform/bound_handler.h"

class wxContextMenuEvent;
class wxMenu;

namespace talvo {

// An option of another unit, shown as a check entry under the viewer's own in the lists' menu.
struct MenuOption {
  std::function<std::u16string()> label;
  std::function<bool()> checked;
  std::function<void()> toggle;
};

class ViewerMemory {
 public:
  // `account` names the signed-in account whose favourites are shown.
  ViewerMemory(const Form1Parts& parts, PageList& channels, PageList& stations,
               std::function<std::u16string()> account);
  ~ViewerMemory();
  ViewerMemory(const ViewerMemory&) = delete;
  ViewerMemory& operator=(const ViewerMemory&) = delete;

  const ViewerChoices& Choices() const { return choices_; }
  // Whether the view shows the page that played last: not before the first, nor after playback
  // was stopped.
  bool OnShow() const { return on_show_; }
  void PlaybackStopped();

  // Plays the page that played last, when the viewer asked for that at start; false otherwise.
  bool Resume();
  // Plays the page that played before the one on show; again, and it is back.
  void Back();
  void ToggleMute();
  void StepVolume(int by);
  void ToggleResume();
  void ToggleCloseToTray();
  // Where the main window and the small window were left, kept for the next start.
  void KeepPlaces(const std::optional<WindowPlace>& window,
                  const std::optional<PlaceRect>& small_window);
  void AddOption(MenuOption option) { options_.push_back(std::move(option)); }
  // While set, the viewer's sound goes to `sound` instead of the playback view (to a TV that
  // plays the channel); unset, the view has it again. `stopped` runs when playback is stopped
  // (the sleep timer's end) while it is taken.
  void SetSoundTaken(std::function<void(bool muted, int volume)> sound,
                     std::function<void()> stopped = nullptr);
  // A sound for the moment, not the viewer's choice (the sleep timer's fade): where the sound
  // goes now.
  void ApplySound(bool muted, int volume);
  // Runs after every change of the choices: the tray's menu follows them.
  void SetOnChange(std::function<void()> on_change) { on_change_ = std::move(on_change); }
  // Adds the page of `list`'s entry at `position` to the account's favourites, or takes it off.
  void ToggleFavourite(PageKind kind, std::size_t position);
  // Plays a favourite from whichever list has its address; one in neither plays nothing (the menu
  // shows it greyed).
  void PlayFavourite(const Favourite& favourite);
  // Takes off the account's favourites whose pages are in neither list.
  void RemoveMissingFavourites();
  bool InAList(const Favourite& favourite) const;
  // The account may be another now: the lists mark its favourites, row by row only when it is.
  void AccountChanged();

 private:
  PageList& ListOf(PageKind kind) const {
    return kind == PageKind::kStation ? stations_ : channels_;
  }
  void Opened(PageKind kind, const std::u16string& address);
  void Play(PageKind kind, const std::u16string& address);
  // Plays the row of `kind`'s list with `address`; false when the list has none.
  bool PlayFromList(PageKind kind, const std::u16string& address);
  void OnContextMenu(PageKind kind, wxContextMenuEvent& event);
  void BuildContextMenu(wxMenu& menu, PageKind kind, std::optional<std::size_t> position,
                        const std::vector<Favourite>& favourites) const;
  void ActOnContextChoice(int chosen, PageKind kind, std::optional<std::size_t> position,
                          const std::vector<Favourite>& favourites);
  void OnListKey(wxKeyEvent& event);
  void SoundChanged();
  void MarkFavourites();
  void FavouritesChanged();
  void Save();

  const Form1Parts& parts_;
  PageList& channels_;
  PageList& stations_;
  std::function<std::u16string()> account_;
  ViewerChoices choices_;
  std::vector<MenuOption> options_;
  std::function<void()> on_change_;
  std::function<void(bool, int)> sound_taken_;
  bool unreadable_ = false;  // the file was there and could not be read: never written over
  bool told_unreadable_ = false;
  std::function<void()> stopped_while_taken_;
  bool on_show_ = false;
  // The account whose favourites the lists mark, asked once for all their rows.
  std::u16string marked_account_;
  BoundHandler<wxContextMenuEvent> on_channels_menu_;
  BoundHandler<wxContextMenuEvent> on_stations_menu_;
  BoundHandler<wxKeyEvent> on_channels_key_;
  BoundHandler<wxKeyEvent> on_stations_key_;
};

}  // namespace talvo
