// What a view of the engine does when its page does not come: a notice of ours in place of the
// engine's error page, tried again on a backoff, at once when the network or the page's host is
// back, and a page whose server never answers given up at kAnswerBound.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

#include "platform/network_return.h"
#include "platform/web/host_probe.h"
#include "platform/web/page_outage.h"

class wxWindow;

namespace talvo {

class OutageRecovery {
 public:
  // `window` is the view's, for what readers are told.
  OutageRecovery(WebKitWebView* web, wxWindow* window);
  ~OutageRecovery();
  OutageRecovery(const OutageRecovery&) = delete;
  OutageRecovery& operator=(const OutageRecovery&) = delete;

  // A new choice, or the view loads its page again for another reason: whatever was being
  // retried is left behind.
  void Leave();
  // The page is loaded again by the view itself: what commits next is the page, not a notice.
  void Reloading() { notice_loading_ = false; }
  // The notice stands in for the page: its retries load it again.
  bool NoticeShows() const { return !outage_address_.empty(); }

 private:
  static void OnLoadChanged(WebKitWebView* web, WebKitLoadEvent event, gpointer self);
  static gboolean OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error,
                               gpointer self);
  static gboolean OnAnswerTime(gpointer self);
  static gboolean OnRetryTime(gpointer self);

  void AwaitAnswer(std::string address);
  void StopAnswerTimer();
  void ShowOutage(LoadTrouble trouble, const std::string& address);
  void TryAgain();
  void StopRetryTimer();

  WebKitWebView* web_;
  wxWindow* window_;
  // The page that could not be loaded, while its notice is on show, and when to try it again.
  std::string outage_address_;
  RetryRule retry_;
  guint retry_source_ = 0;
  bool notice_loading_ = false;
  NetworkReturnListener on_network_return_;
  HostProbe host_probe_;
  // The load whose document has not begun to arrive yet, given up at kAnswerBound.
  std::string answer_address_;
  guint answer_source_ = 0;
};

}  // namespace talvo
