// The window options' texts: 窗口置顶 carries a tick while the window is kept above the others.
#pragma once

#include <string_view>

namespace talvo {

constexpr std::u16string_view OnTopCaption(bool on_top) {
  return on_top ? u"窗口置顶√" : u"窗口置顶";
}

}  // namespace talvo
