#include "mainwindow/service_lists_ui.h"

#include <wx/frame.h>
#include <wx/timer.h>

#include <functional>

#include "core/fetcher.h"
#include "core/service_address.h"
#include "mainwindow/line_pairs.h"
#include "mainwindow/page_list.h"
#include "mainwindow/service_lists.h"
#include "platform/web/browser_view.h"
#include "signin/login_ui.h"

namespace talvo {
namespace {

// One load of `kind` for `user` into `list`, through the load's own reply buffer; false when
// nothing was taken and a host could not be reached.
bool LoadServiceList(const Config& config, const ServiceList& kind, const std::u16string& user,
                     std::u16string& reply, PageList& list,
                     const std::function<void()>& after_tv_reply_taken) {
  reply.clear();
  bool unreachable = false;
  FetchListReply(
      [&unreachable](const std::u16string& url) {
        FetchedText fetched = FetchPageReply(url, u"gb2312");
        unreachable = unreachable || fetched.unreachable;
        return std::move(fetched.text);
      },
      AccountPageAddress(config.tv_host, kind.path, user),
      AccountPageAddress(config.primary_host, kind.path, user), kind.marker, reply,
      after_tv_reply_taken);
  list.Append(ParseLinePairs(reply));
  return reply.find(kind.marker) != std::u16string::npos || !unreachable;
}

}  // namespace

ProgrammeList::ProgrammeList(const Form1Parts& parts, StartupSignIn& signin)
    : parts_(parts), signin_(signin), channels_(parts.list2, *parts.web_browser1) {}

void ProgrammeList::AppendBuiltIns() {
  channels_.Append(BuiltInChannelEntries(parts_.config->channel_host));
}

bool ProgrammeList::Load() {
  return LoadServiceList(*parts_.config, kProgrammeList, signin_.SavedUser(), reply_, channels_,
                         [this] { signin_.VerifyOnTvHost(); });
}

StationList::StationList(const Form1Parts& parts, const StartupSignIn& signin)
    : parts_(parts),
      signin_(signin),
      stations_(parts.list1, *parts.web_browser1),
      on_tick_(
          parts.frame, wxEVT_TIMER, [this](wxTimerEvent&) { Timer1_Timer(); },
          parts.timer1->GetId()) {}

void StationList::Timer1_Timer() {
  parts_.timer1->Stop();
  if (!Load() && on_missed_) on_missed_();
}

bool StationList::Load() {
  return LoadServiceList(*parts_.config, kStationList, signin_.SavedUser(), reply_, stations_,
                         nullptr);
}

}  // namespace talvo
