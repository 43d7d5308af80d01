#include "mainwindow/service_lists.h"

#include "core/service_address.h"

namespace talvo {

void FetchListReply(const PageFetch& fetch, const std::u16string& tv_url,
                    const std::u16string& primary_url, std::u16string_view marker,
                    std::u16string& buffer, const std::function<void()>& after_tv_reply_taken) {
  const auto accepted = [marker](const std::u16string& reply) {
    return reply.find(marker) != std::u16string::npos;
  };
  std::u16string reply = fetch(tv_url);
  if (accepted(reply)) {
    buffer = reply;
    if (after_tv_reply_taken) after_tv_reply_taken();
  }
  if (buffer.size() < 3) {
    reply = fetch(primary_url);
    if (accepted(reply)) buffer = reply;
  }
}

}  // namespace talvo
