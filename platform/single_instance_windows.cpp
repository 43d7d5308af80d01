#include <wx/app.h>
#include <wx/window.h>

#include <windows.h>

#include "core/debug_trace.h"
#include "core/utf.h"
#include "platform/single_instance.h"

namespace talvo {
namespace {

std::wstring Wide(const std::string& text) {
  const std::u16string wide = Utf8ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

// The message a later start posts to every top-level window; only the holder's knows it.
UINT ShowMessage(const std::string& name) {
  return RegisterWindowMessageW(Wide(name + "-show").c_str());
}

// The handler is a plain function: the one hold of this process keeps what it runs here.
std::function<void(const std::string&)>& OnShow() {
  static std::function<void(const std::string&)> on_show;
  return on_show;
}

bool Shown(wxWindowMSW* window, WXUINT, WXWPARAM, WXLPARAM) {
  // Every top-level window of the client gets the message: the main one answers.
  if (window == wxTheApp->GetTopWindow() && OnShow()) {
    DebugTrace("start", "another start asked for the window");
    OnShow()("");
  }
  return true;
}

class MutexInstance : public SingleInstance {
 public:
  MutexInstance(HANDLE mutex, UINT message) : mutex_(mutex), message_(message) {}
  ~MutexInstance() override {
    if (registered_) wxWindow::MSWUnregisterMessageHandler(static_cast<int>(message_), &Shown);
    OnShow() = nullptr;
    if (mutex_ != nullptr) CloseHandle(mutex_);
  }
  void SetOnShow(std::function<void(const std::string&)> on_show) override {
    OnShow() = std::move(on_show);
    if (!registered_ && message_ != 0) {
      registered_ = wxWindow::MSWRegisterMessageHandler(static_cast<int>(message_), &Shown);
    }
  }

 private:
  HANDLE mutex_;
  UINT message_;
  bool registered_ = false;
};

}  // namespace

std::unique_ptr<SingleInstance> HoldAppFolder(const std::filesystem::path& folder) {
  const std::string name = AppFolderInstanceName(folder);
  const UINT message = ShowMessage(name);
  // The system lets a mutex go with its process, however it ends.
  HANDLE mutex = CreateMutexW(nullptr, TRUE, Wide("Local\\" + name).c_str());
  if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS && message != 0) {
    CloseHandle(mutex);
    // The holder may take the foreground: this start was given it by the viewer.
    AllowSetForegroundWindow(ASFW_ANY);
    PostMessageW(HWND_BROADCAST, message, 0, 0);
    return nullptr;
  }
  if (mutex == nullptr) {
    DebugTrace("start", "the application folder could not be held: this client runs apart");
  }
  return std::make_unique<MutexInstance>(mutex, message);
}

}  // namespace talvo
