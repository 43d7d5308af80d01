#include "mainwindow/viewer_memory.h"

#include <algorithm>
#include <charconv>

#include "core/debug_trace.h"
#include "core/stored_file.h"
#include "core/utf.h"

namespace talvo {
namespace {

constexpr std::string_view kFirstLine = "talvo viewer choices 1";
constexpr std::size_t kMostBytes = 1 << 20;

// A field may hold any text: tabs, line ends and the escape itself are written as %09, %0A, %0D
// and %25.
std::string Field(std::u16string_view text) {
  return PercentEncoded(Utf16ToUtf8(text), [](unsigned char byte) {
    return byte == '%' || byte == '\t' || byte == '\n' || byte == '\r';
  });
}

std::optional<std::u16string> Unfield(std::string_view field) {
  const std::optional<std::string> text = PercentDecoded(field, true);
  if (!text) return std::nullopt;
  return Utf8ToUtf16(*text);
}

std::vector<std::string_view> Split(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

const char* KindWord(PageKind kind) { return kind == PageKind::kStation ? "station" : "channel"; }

std::optional<PageKind> KindOf(std::string_view word) {
  if (word == "channel") return PageKind::kChannel;
  if (word == "station") return PageKind::kStation;
  return std::nullopt;
}

std::optional<bool> Flag(std::string_view word) {
  if (word == "0") return false;
  if (word == "1") return true;
  return std::nullopt;
}

std::optional<PlayedPage> Page(const std::vector<std::string_view>& fields) {
  if (fields.size() != 3) return std::nullopt;
  const std::optional<PageKind> kind = KindOf(fields[1]);
  std::optional<std::u16string> address = Unfield(fields[2]);
  if (!kind || !address || address->empty()) return std::nullopt;
  return PlayedPage{*kind, std::move(*address)};
}

}  // namespace

bool ViewerChoices::Played(PlayedPage page) {
  if (played == page) return false;
  before = std::move(played);
  played = std::move(page);
  return true;
}

void ViewerChoices::StepVolume(int by) { volume = std::clamp(volume + by * kVolumeStep, 0, 100); }

bool ViewerChoices::IsFavourite(std::u16string_view account, std::u16string_view address) const {
  return std::any_of(favourites.begin(), favourites.end(), [&](const Favourite& favourite) {
    return favourite.account == account && favourite.address == address;
  });
}

void ViewerChoices::ToggleFavourite(const Favourite& favourite) {
  const auto same = [&](const Favourite& kept) {
    return kept.account == favourite.account && kept.address == favourite.address;
  };
  if (std::erase_if(favourites, same) == 0) favourites.push_back(favourite);
}

std::vector<Favourite> ViewerChoices::FavouritesOf(std::u16string_view account) const {
  std::vector<Favourite> found;
  std::copy_if(favourites.begin(), favourites.end(), std::back_inserter(found),
               [&](const Favourite& favourite) { return favourite.account == account; });
  return found;
}

std::string WriteViewerChoices(const ViewerChoices& choices) {
  std::string text(kFirstLine);
  text += "\nmuted\t" + std::string(choices.muted ? "1" : "0");
  text += "\nvolume\t" + std::to_string(choices.volume);
  text += "\nresume\t" + std::string(choices.resume ? "1" : "0");
  text += "\ntray\t" + std::string(choices.close_to_tray ? "1" : "0");
  for (const auto& [key, page] :
       {std::pair{"played", &choices.played}, {"before", &choices.before}}) {
    if (*page)
      text +=
          std::string("\n") + key + "\t" + KindWord((*page)->kind) + "\t" + Field((*page)->address);
  }
  if (choices.window) {
    text += "\nwindow\t" + WritePlace(choices.window->rect) + "\t" +
            (choices.window->maximised ? "1" : "0");
  }
  if (choices.small_window) text += "\nsmall\t" + WritePlace(*choices.small_window);
  for (const Favourite& favourite : choices.favourites) {
    text += "\nfavourite\t" + Field(favourite.account) + "\t" + KindWord(favourite.kind) + "\t" +
            Field(favourite.address) + "\t" + Field(favourite.name);
  }
  return text + "\n";
}

std::optional<ViewerChoices> ReadViewerChoices(std::string_view text) {
  const std::size_t first_end = text.find('\n');
  std::string_view first = text.substr(0, first_end);
  if (!first.empty() && first.back() == '\r') first.remove_suffix(1);
  if (first != kFirstLine) return std::nullopt;
  ViewerChoices choices;
  for (std::size_t start = first_end; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start + 1), text.size());
    std::string_view line = text.substr(start + 1, end - start - 1);
    start = end;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::vector<std::string_view> fields = Split(line);
    const std::string_view key = fields[0];
    if (key == "muted" || key == "resume" || key == "tray") {
      const std::optional<bool> flag = fields.size() == 2 ? Flag(fields[1]) : std::nullopt;
      if (flag) {
        (key == "muted"    ? choices.muted
         : key == "resume" ? choices.resume
                           : choices.close_to_tray) = *flag;
      }
    } else if (key == "volume" && fields.size() == 2) {
      int volume = -1;
      const auto [end_at, error] =
          std::from_chars(fields[1].data(), fields[1].data() + fields[1].size(), volume);
      if (error == std::errc{} && end_at == fields[1].data() + fields[1].size() && volume >= 0 &&
          volume <= 100 && volume % kVolumeStep == 0) {
        choices.volume = volume;
      }
    } else if (key == "played" || key == "before") {
      if (std::optional<PlayedPage> page = Page(fields)) {
        (key == "played" ? choices.played : choices.before) = std::move(page);
      }
    } else if (key == "window" && fields.size() == 3) {
      const std::optional<PlaceRect> rect = ReadPlace(fields[1]);
      const std::optional<bool> maximised = Flag(fields[2]);
      if (rect && maximised) choices.window = WindowPlace{*rect, *maximised};
    } else if (key == "small" && fields.size() == 2) {
      choices.small_window = ReadPlace(fields[1]);
    } else if (key == "favourite" && fields.size() == 5) {
      std::optional<std::u16string> account = Unfield(fields[1]);
      const std::optional<PageKind> kind = KindOf(fields[2]);
      std::optional<std::u16string> address = Unfield(fields[3]);
      std::optional<std::u16string> name = Unfield(fields[4]);
      if (account && kind && address && !address->empty() && name &&
          !choices.IsFavourite(*account, *address)) {
        choices.favourites.push_back(
            {std::move(*account), *kind, std::move(*address), std::move(*name)});
      }
    }
  }
  return choices;
}

std::filesystem::path ViewerChoicesPath(const std::filesystem::path& app_folder) {
  return app_folder / "viewer.txt";
}

ViewerChoices LoadViewerChoices(const std::filesystem::path& app_folder, ChoicesFile& file) {
  std::string why;
  const std::optional<std::string> text =
      ReadFileHead(ViewerChoicesPath(app_folder), kMostBytes, why);
  if (!text) {
    file = why.empty() ? ChoicesFile::kMissing : ChoicesFile::kUnreadable;
    if (!why.empty()) DebugTrace("viewer", why + "; the file is kept and not written this run");
    return {};
  }
  std::optional<ViewerChoices> choices = ReadViewerChoices(*text);
  file = choices ? ChoicesFile::kRead : ChoicesFile::kReplace;
  if (choices) return std::move(*choices);
  DebugTrace("viewer", "not a choices file; it will be replaced");
  return {};
}

SaveTrouble SaveViewerChoices(const std::filesystem::path& app_folder,
                              const ViewerChoices& choices) {
  const std::filesystem::path path = ViewerChoicesPath(app_folder);
  std::filesystem::path temp = path;
  temp += ".new";
  std::string why;
  const SaveTrouble trouble = ReplaceFileWhole(temp, path, WriteViewerChoices(choices), why);
  if (trouble != SaveTrouble::kNone) DebugTrace("viewer", path.string() + " not saved: " + why);
  return trouble;
}

}  // namespace talvo
