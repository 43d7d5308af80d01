#include "mainwindow/cast_menu.h"

#include <algorithm>

#include "core/utf.h"

namespace talvo {

std::vector<CastMenuEntry> CastMenuEntries(const CastMenuState& state) {
  std::vector<CastMenuEntry> entries;
  if (!state.castable) entries.push_back({CastMenuEntry::kNote, kNotCastable});
  for (std::size_t i = 0; i < state.found.size(); ++i) {
    const Renderer& renderer = state.found[i];
    const bool playing = state.casting == renderer.udn;
    entries.push_back({CastMenuEntry::kRenderer, Utf8ToUtf16(renderer.name),
                       state.castable && !playing, playing, i});
  }
  if (state.found.empty()) {
    entries.push_back(
        {CastMenuEntry::kNote, state.searching ? u"正在查找可投屏的设备…" : u"未找到可投屏的设备"});
  }
  entries.push_back({CastMenuEntry::kSeparator, u""});
  entries.push_back({CastMenuEntry::kStop, u"停止投屏", state.casting.has_value()});
  return entries;
}

std::vector<Renderer> CastRenderersFound(std::vector<Renderer> answered,
                                         const std::optional<Renderer>& casting) {
  if (casting && std::ranges::none_of(answered, [&](const Renderer& renderer) {
        return renderer.udn == casting->udn;
      })) {
    answered.push_back(*casting);
  }
  std::ranges::stable_sort(answered, {}, &Renderer::name);
  return answered;
}

std::u16string CastingLine(std::string_view name) { return u"正在投屏到 " + Utf8ToUtf16(name); }

std::u16string CastTroubleWords(CastOutcome outcome, std::string_view name, bool while_casting) {
  const std::u16string who = Utf8ToUtf16(name);
  if (outcome == CastOutcome::kRefused) return who + u" 拒绝了投屏";
  return while_casting ? who + u" 已断开，投屏结束" : who + u" 没有应答，无法投屏";
}

}  // namespace talvo
