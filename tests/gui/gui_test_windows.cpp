// The window tests' view of the Windows desktop: a window's own styles and size, and the screen's
// picture (BMP: this wxMSW has no PNG).
#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/msw/wrapwin.h>
#include <wx/window.h>

#include <filesystem>

#include "tests/gui/gui_test.h"

namespace talvo::testing {

// X11's properties have no counterpart here.
std::string WindowProperty(wxWindow*, const std::string&) { return {}; }

wxSize DeviceSize(wxWindow* window) {
  RECT rect{};
  if (!::GetClientRect(static_cast<HWND>(window->GetHandle()), &rect)) return {-1, -1};
  return {rect.right - rect.left, rect.bottom - rect.top};
}

bool KeptAbove(wxWindow* window) {
  return (::GetWindowLongPtrW(static_cast<HWND>(window->GetHandle()), GWL_EXSTYLE) &
          WS_EX_TOPMOST) != 0;
}

std::string SaveScreenshot(const std::string& name) {
  // Update paints what is invalid at once.
  for (wxWindow* window : wxTopLevelWindows) {
    window->Refresh();
    window->Update();
  }
  const std::filesystem::path folder = TALVO_ARTIFACT_DIR;
  std::filesystem::create_directories(folder);
  const std::string path = (folder / (name + ".bmp")).string();
  wxScreenDC screen;
  const wxSize size = screen.GetSize();
  wxBitmap picture(size);
  wxMemoryDC memory(picture);
  memory.Blit(0, 0, size.x, size.y, &screen, 0, 0);
  memory.SelectObject(wxNullBitmap);
  EXPECT_TRUE(picture.SaveFile(path, wxBITMAP_TYPE_BMP)) << "screenshot failed: " << path;
  return path;
}

}  // namespace talvo::testing
