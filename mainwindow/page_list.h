// A list of pages without any window: names by list position, each with its page address. The
// channel list starts with six built-in channels; both lists then take entries from the service.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mainwindow/line_pairs.h"

namespace talvo {

struct BuiltInChannel {
  std::u16string_view name;
  std::u16string_view path;  // on the channel page host
};

inline constexpr std::array<BuiltInChannel, 6> kBuiltInChannels = {{
    {u"北京卫视高清", u"/usbtv/bjwsgq.html"},
    {u"广东卫视高清", u"/usbtv/gdwsgq.html"},
    {u"江苏卫视高清", u"/usbtv/jswsgq.html"},
    {u"深圳卫视高清", u"/usbtv/szwsgq.html"},
    {u"浙江卫视高清", u"/usbtv/sjwsgq.html"},
    {u"黑龙江卫视高清", u"/usbtv/hljgq.html"},
}};

// The built-in channels as list entries, their pages on `channel_host`.
std::vector<LinePair> BuiltInChannelEntries(std::u16string_view channel_host);

// Page addresses by list position. It grows with its list, so every entry keeps its address;
// a position never set has the empty address.
class PageTable {
 public:
  void Set(std::size_t position, std::u16string address);
  const std::u16string& At(std::size_t position) const;
  std::size_t Size() const { return addresses_.size(); }

 private:
  std::vector<std::u16string> addresses_;
};

// The row the desktop's Next (`by` 1) or Previous (-1) media control chooses in a list of
// `count` rows where `selected` is chosen (-1: none): the neighbour, wrapping at the ends; from
// no choice, the first or the last row. -1 when the list is empty.
int SteppedRow(int selected, int count, int by);

// Where choosing an entry leads, or nothing when the entry's text is empty.
std::optional<std::u16string> PageAddress(std::size_t position, std::u16string_view entry_text,
                                          const PageTable& urls);

}  // namespace talvo
