#include "mainwindow/station_list_ui.h"

#include <wx/frame.h>
#include <wx/timer.h>

#include "core/fetcher.h"
#include "core/service_address.h"
#include "mainwindow/line_pairs.h"
#include "mainwindow/service_lists.h"
#include "platform/browser_view.h"
#include "signin/startup_signin.h"

namespace talvo {

StationList::StationList(const Form1Parts& parts, const StartupSignIn& signin)
    : parts_(parts),
      signin_(signin),
      stations_(parts.list1, *parts.web_browser1),
      on_tick_(
          parts.frame, wxEVT_TIMER, [this](wxTimerEvent&) { Timer1_Timer(); },
          parts.timer1->GetId()) {}

void StationList::Timer1_Timer() {
  parts_.timer1->Stop();
  reply_.clear();
  const std::u16string query = u"yh=" + EncodeQueryValue(signin_.SavedUser());
  const Config& config = *parts_.config;
  FetchListReply([](const std::u16string& url) { return FetchPage(url, u"gb2312"); },
                 ServiceUrl(config.tv_host, u"/user/diantaibiao.asp", query),
                 ServiceUrl(config.primary_host, u"/user/diantaibiao.asp", query),
                 kStationListMarker, reply_, nullptr);
  stations_.Append(ParseLinePairs(reply_));
}

}  // namespace talvo
