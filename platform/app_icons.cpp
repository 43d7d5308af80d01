#include "platform/app_icons.h"

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

}  // namespace talvo
