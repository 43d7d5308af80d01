// 投屏 in words: the entries of its menu for what was found and what plays, the line over the
// picture while a TV plays the channel, and what the viewer is told when a TV refuses or goes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/home_network.h"

namespace talvo {

struct CastMenuEntry {
  enum Kind { kNote, kRenderer, kSeparator, kStop };
  Kind kind = kNote;
  std::u16string label;
  bool enabled = false;
  bool checked = false;      // the renderer that plays now
  std::size_t renderer = 0;  // of a kRenderer entry: its place among those found
  bool operator==(const CastMenuEntry&) const = default;
};

struct CastMenuState {
  std::vector<Renderer> found;         // by name
  bool searching = false;              // nothing found yet, and a search is out
  bool castable = false;               // the page on show plays something a TV can fetch
  std::optional<std::string> casting;  // the UDN of the renderer that plays now
};

std::vector<CastMenuEntry> CastMenuEntries(const CastMenuState& state);

// The renderers of a search, by name, the one that plays now kept even when it did not answer
// this time (a TV busy playing can be slow to).
std::vector<Renderer> CastRenderersFound(std::vector<Renderer> answered,
                                         const std::optional<Renderer>& casting);

// "正在投屏到 客厅电视"
std::u16string CastingLine(std::string_view name);
// What the viewer is told when `name` did not do what it was asked.
std::u16string CastTroubleWords(CastOutcome outcome, std::string_view name, bool while_casting);

inline constexpr char16_t kNotCastable[] = u"此频道不支持投屏";

}  // namespace talvo
