#include "platform/web/downloads_webkit.h"

#include <gtk/gtk.h>

#include <string>

#include "core/debug_trace.h"
#include "platform/web/page_safety.h"

namespace talvo {
namespace {

ClickedLast g_clicked_last = nullptr;

// The user's own downloads folder, or the home folder.
std::string DownloadsFolder() {
  const gchar* folder = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD);
  return folder != nullptr ? folder : g_get_home_dir();
}

void OnSaveChosen(GtkDialog* chooser, gint response, gpointer data) {
  auto* download = static_cast<WebKitDownload*>(data);
  gchar* uri = response == GTK_RESPONSE_ACCEPT ? gtk_file_chooser_get_uri(GTK_FILE_CHOOSER(chooser))
                                               : nullptr;
  if (uri != nullptr) {
    // The dialog itself asked before an existing file is replaced.
    webkit_download_set_allow_overwrite(download, TRUE);
    webkit_download_set_destination(download, uri);
    g_free(uri);
  } else {
    webkit_download_cancel(download);
  }
  g_object_unref(download);
  gtk_widget_destroy(GTK_WIDGET(chooser));
}

// The name the server suggests never reaches the engine's own path handling: the user chooses
// the folder and the name in the save dialog, starting from a plain name of the file's own.
gboolean OnDecideDestination(WebKitDownload* download, gchar* suggested, gpointer) {
  WebKitWebView* web = webkit_download_get_web_view(download);
  if (web == nullptr || !g_clicked_last(web)) {
    DebugTrace("page", std::string("a download the page started by itself was cancelled: ") +
                           (suggested != nullptr ? suggested : ""));
    webkit_download_cancel(download);
    return TRUE;
  }
  GtkWidget* toplevel = gtk_widget_get_toplevel(GTK_WIDGET(web));
  GtkWidget* chooser = gtk_file_chooser_dialog_new(
      "保存文件", GTK_IS_WINDOW(toplevel) ? GTK_WINDOW(toplevel) : nullptr,
      GTK_FILE_CHOOSER_ACTION_SAVE, "取消", GTK_RESPONSE_CANCEL, "保存", GTK_RESPONSE_ACCEPT,
      nullptr);
  gtk_window_set_modal(GTK_WINDOW(chooser), TRUE);
  gtk_file_chooser_set_do_overwrite_confirmation(GTK_FILE_CHOOSER(chooser), TRUE);
  gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), DownloadsFolder().c_str());
  gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(chooser),
                                    SafeDownloadName(suggested ? suggested : "").c_str());
  g_signal_connect(chooser, "response", G_CALLBACK(OnSaveChosen), g_object_ref(download));
  gtk_widget_show(chooser);
  return TRUE;
}

// A file reaches the disk only after a click in the page and the user's choice in the save
// dialog; a download a page starts by itself is cancelled before anything is written.
void OnDownloadStarted(WebKitWebContext*, WebKitDownload* download, gpointer) {
  g_signal_connect(download, "decide-destination", G_CALLBACK(OnDecideDestination), nullptr);
}

}  // namespace

void DecideDownloads(WebKitWebContext* context, ClickedLast clicked_last) {
  g_clicked_last = clicked_last;
  g_signal_connect(context, "download-started", G_CALLBACK(OnDownloadStarted), nullptr);
}

bool RefuseUnsafeDownloadName(WebKitPolicyDecision* decision) {
  // The engine's own reading of a name with a folder in it ("../x") frees memory it does not
  // own and ends the process that reads it (WebKitGTK 2.50.6), so such a name never reaches the
  // engine: the header is read here, and the reply refused before it can turn into a download.
  WebKitURIResponse* response =
      webkit_response_policy_decision_get_response(WEBKIT_RESPONSE_POLICY_DECISION(decision));
  SoupMessageHeaders* headers = webkit_uri_response_get_http_headers(response);
  const char* disposition =
      headers != nullptr ? soup_message_headers_get_one(headers, "Content-Disposition") : nullptr;
  if (disposition == nullptr) return false;
  const std::string offered = DispositionFileName(disposition);
  if (offered.empty() || SafeDownloadName(offered) == offered) return false;
  DebugTrace("page", "a reply naming a file outside its folder was refused: " + offered);
  webkit_policy_decision_ignore(decision);
  return true;
}

}  // namespace talvo
