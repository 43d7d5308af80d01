// What the viewer chose and the client keeps between starts: sound, the channel or station that
// played last and the one before it, whether the start plays the last one again, whether closing
// the window keeps the client in the tray, where the main window and the small window were left,
// and favourites, per account and by page address. Kept in "viewer.txt" in the application folder,
// beside the credential file, as UTF-8 lines whose fields are separated by tabs.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/stored_file.h"
#include "mainwindow/window_place.h"

namespace talvo {

enum class PageKind { kChannel, kStation };

struct PlayedPage {
  PageKind kind = PageKind::kChannel;
  std::u16string address;
  bool operator==(const PlayedPage&) const = default;
};

struct Favourite {
  std::u16string account;  // the signed-in account's name; empty for no account
  PageKind kind = PageKind::kChannel;
  std::u16string address;
  std::u16string name;  // as the list named it when it was added
  bool operator==(const Favourite&) const = default;
};

inline constexpr int kVolumeStep = 10;

struct ViewerChoices {
  bool muted = false;
  int volume = 100;  // percent, in steps of kVolumeStep
  bool resume = false;
  bool close_to_tray = false;  // closing the window hides it into the tray
  std::optional<PlayedPage> played;
  std::optional<PlayedPage> before;
  std::vector<Favourite> favourites;
  std::optional<WindowPlace> window;
  std::optional<PlaceRect> small_window;
  bool operator==(const ViewerChoices&) const = default;

  // A page opened: the one that played before it is kept for going back. Opening the page that
  // plays again changes nothing; false then.
  bool Played(PlayedPage page);
  // The volume `by` steps up or down, within 0 and 100.
  void StepVolume(int by);
  bool IsFavourite(std::u16string_view account, std::u16string_view address) const;
  // Adds the page to the account's favourites, or takes it off when it is one.
  void ToggleFavourite(const Favourite& favourite);
  std::vector<Favourite> FavouritesOf(std::u16string_view account) const;
};

std::string WriteViewerChoices(const ViewerChoices& choices);
// The choices in `text`; nothing when it is not such a file at all (another file, damaged from
// its first line). Lines that cannot be read are left out; the rest is kept.
std::optional<ViewerChoices> ReadViewerChoices(std::string_view text);

std::filesystem::path ViewerChoicesPath(const std::filesystem::path& app_folder);
// What became of the file at start: read, missing, not a choices file (replaced at once), or
// there but unreadable (a read that failed: it is never written over, so nothing in it is lost).
enum class ChoicesFile { kRead, kMissing, kReplace, kUnreadable };
// The defaults unless the file was read.
ViewerChoices LoadViewerChoices(const std::filesystem::path& app_folder, ChoicesFile& file);
// Replaces the file whole, never leaving half of it; on failure the old file is kept and the
// trouble said.
SaveTrouble SaveViewerChoices(const std::filesystem::path& app_folder,
                              const ViewerChoices& choices);

}  // namespace talvo
