// What the pages may save: a file reaches the disk only after a click in the page and the
// user's choice in the save dialog, under a name of the file's own.
#pragma once

#include <webkit2/webkit2.h>

namespace talvo {

// Whether the view's latest navigation came from a click in its page.
using ClickedLast = bool (*)(WebKitWebView* web);

// Every download of `context` is decided here from now on.
void DecideDownloads(WebKitWebContext* context, ClickedLast clicked_last);

// For a reply the engine is about to take: true when it named a file outside its folder and was
// refused, so that it never becomes a download.
bool RefuseUnsafeDownloadName(WebKitPolicyDecision* decision);

}  // namespace talvo
