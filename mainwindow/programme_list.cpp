#include "mainwindow/programme_list.h"

namespace talvo {

bool IsProgrammeReply(std::u16string_view reply) {
  return reply.find(u"卫视") != std::u16string_view::npos;
}

void FetchProgrammeReply(const PageFetch& fetch, const std::u16string& tv_url,
                         const std::u16string& primary_url, std::u16string& buffer,
                         const std::function<void()>& after_tv_reply_taken) {
  std::u16string reply = fetch(tv_url);
  if (IsProgrammeReply(reply)) {
    buffer = reply;
    if (after_tv_reply_taken) after_tv_reply_taken();
  }
  if (buffer.size() < 3) {
    reply = fetch(primary_url);
    if (IsProgrammeReply(reply)) buffer = reply;
  }
}

}  // namespace talvo
