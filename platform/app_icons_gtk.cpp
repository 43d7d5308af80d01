#include "platform/app_icons.h"

#include <gio/gio.h>

#include <wx/bitmap.h>
#include <wx/iconbndl.h>
#include <wx/image.h>

namespace talvo {

const wxIconBundle& AppIcons() {
  static const wxIconBundle bundle = [] {
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
    wxIconBundle icons;
    for (const EmbeddedPng& png : AppIconPngs()) {
      const wxBitmap bitmap = wxBitmap::NewFromPNGData(png.data, png.size);
      if (!bitmap.IsOk()) continue;
      wxIcon icon;
      icon.CopyFromBitmap(bitmap);
      icons.AddIcon(icon);
    }
    return icons;
  }();
  return bundle;
}

void AnnounceApplication() {
  // The engine passes the name on as ASCII only: the launcher entry's untranslated name.
  g_set_application_name("Talvo HD");
  // Never registered or run: the engine only reads its id.
  static GApplication* const application =
      g_application_new(kApplicationId, G_APPLICATION_NON_UNIQUE);
  g_application_set_default(application);
}

}  // namespace talvo
