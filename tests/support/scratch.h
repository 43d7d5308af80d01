// What many tests need: a folder of their own, what a command prints, and the one bounded wait.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace talvo::testing {

// A new, empty folder under the system's temporary folder, removed with everything in it when
// the object goes.
class TempFolder {
 public:
  explicit TempFolder(std::string_view name);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  operator const std::filesystem::path&() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// The whole of a file as it is stored; empty when it cannot be read.
std::string FileBytes(const std::filesystem::path& file);

// Runs `command` through the shell and returns what it printed on stdout; `status`, when given,
// gets what the shell returned (-1 when it could not start).
std::string CommandOutput(const std::string& command, int* status = nullptr);

// Checks `condition`, then runs `turn` and checks again, until it holds (true) or `timeout_ms`
// has passed (false). The window tests turn the event loop, those of separate processes sleep.
bool WaitUntil(const std::function<bool()>& condition, int timeout_ms,
               const std::function<void()>& turn);

}  // namespace talvo::testing
