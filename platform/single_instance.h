// One client for each application folder. The first start holds the folder for as long as it
// runs (the system lets go of it when the process ends, however it ends); a later start asks the
// one that holds it to bring its window forward, and ends without touching anything. A client of
// another folder runs apart. One implementation a system: an abstract socket on Linux, a named
// mutex and a registered window message on Windows.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace talvo {

// The name both starts derive from the folder: the same for one folder however the path to it
// runs (links, "..", a slash at the end).
std::string AppFolderInstanceName(const std::filesystem::path& folder);

class SingleInstance {
 public:
  virtual ~SingleInstance() = default;
  // What runs on the main loop when a later start asks, with that start's startup
  // notification id (empty when it had none).
  virtual void SetOnShow(std::function<void(const std::string& startup_id)> on_show) = 0;
};

// This start's hold on `folder`; null when another client holds it and was asked to show its
// window. Where the system refuses the means, the start runs as if it were the only one.
std::unique_ptr<SingleInstance> HoldAppFolder(const std::filesystem::path& folder);

}  // namespace talvo
