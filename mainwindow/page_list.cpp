#include "mainwindow/page_list.h"

#include "core/service_address.h"

namespace talvo {

std::vector<LinePair> BuiltInChannelEntries(std::u16string_view channel_host) {
  std::vector<LinePair> entries;
  for (const BuiltInChannel& channel : kBuiltInChannels) {
    entries.push_back({std::u16string(channel.name), ServiceUrl(channel_host, channel.path)});
  }
  return entries;
}

void PageTable::Set(std::size_t position, std::u16string address) {
  if (position >= addresses_.size()) addresses_.resize(position + 1);
  addresses_[position] = std::move(address);
}

const std::u16string& PageTable::At(std::size_t position) const {
  static const std::u16string kNone;
  return position < addresses_.size() ? addresses_[position] : kNone;
}

std::optional<std::u16string> PageAddress(std::size_t position, std::u16string_view entry_text,
                                          const PageTable& urls) {
  if (entry_text.empty()) return std::nullopt;
  return urls.At(position);
}

int SteppedRow(int selected, int count, int by) {
  if (count <= 0) return -1;
  if (selected < 0 || selected >= count) return by >= 0 ? 0 : count - 1;
  return ((selected + by) % count + count) % count;
}

}  // namespace talvo
