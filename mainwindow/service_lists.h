// The service's two lists, the programme list and the station list: each asked of the TV host
// first and of the primary host when the TV host gave nothing usable, and taken only when it
// carries its marker.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace talvo {

using PageFetch = std::function<std::u16string(const std::u16string& url)>;

inline constexpr std::u16string_view kProgrammeListMarker = u"卫视";
inline constexpr std::u16string_view kStationListMarker = u"广播";

// Where a list is asked for, and what a usable reply carries.
struct ServiceList {
  std::u16string_view path;
  std::u16string_view marker;
};
inline constexpr ServiceList kProgrammeList{u"/user/jiemubiao.asp", kProgrammeListMarker};
inline constexpr ServiceList kStationList{u"/user/diantaibiao.asp", kStationListMarker};

// The TV host is asked first; its reply is taken into `buffer` when it contains `marker`, and
// `after_tv_reply_taken` runs right then. The primary host is asked only when `buffer` then holds
// fewer than 3 characters, and its reply replaces the buffer when it contains `marker`. `buffer`
// is the load's own and keeps its text when nothing is taken.
void FetchListReply(const PageFetch& fetch, const std::u16string& tv_url,
                    const std::u16string& primary_url, std::u16string_view marker,
                    std::u16string& buffer, const std::function<void()>& after_tv_reply_taken);

}  // namespace talvo
