#include "mainwindow/channel_table.h"

#include "core/service_address.h"

namespace talvo {

void PageTable::Set(std::size_t position, std::u16string address) {
  if (position >= addresses_.size()) addresses_.resize(position + 1);
  addresses_[position] = std::move(address);
}

const std::u16string& PageTable::At(std::size_t position) const {
  static const std::u16string kNone;
  return position < addresses_.size() ? addresses_[position] : kNone;
}

std::optional<std::u16string> ChannelAddress(std::size_t position, std::u16string_view entry_text,
                                             const PageTable& urls,
                                             std::u16string_view channel_host) {
  if (entry_text.empty()) return std::nullopt;
  if (position < kBuiltInChannels.size()) {
    return ServiceUrl(channel_host, kBuiltInChannels[position].path);
  }
  const std::u16string& address = urls.At(position);
  if (!IsWebAddress(address)) return std::nullopt;
  return address;
}

}  // namespace talvo
