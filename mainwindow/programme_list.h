// The account's programme list, fetched at start-up and appended to the channel list.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace talvo {

using PageFetch = std::function<std::u16string(const std::u16string& url)>;

// A reply counts as a programme list only when it mentions "卫视" somewhere.
bool IsProgrammeReply(std::u16string_view reply);

// The two-host rule. The TV host is asked first; its reply is taken into `buffer` when it is a
// programme list, and `after_tv_reply_taken` runs right then. The primary host is asked only
// when `buffer` then holds fewer than 3 characters, and its reply replaces the buffer when it is
// a programme list. `buffer` is the load's own and keeps its text when nothing is taken.
void FetchProgrammeReply(const PageFetch& fetch, const std::u16string& tv_url,
                         const std::u16string& primary_url, std::u16string& buffer,
                         const std::function<void()>& after_tv_reply_taken);

}  // namespace talvo
