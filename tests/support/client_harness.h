// End-to-end harness: the real talvo binary and the demo service as separate processes, on the
// virtual display, watched from outside: the service's request log, the X server's view of the
// window, real pointer and key events through xdotool, screenshots.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace talvo::e2e {

// Runs `command` through the shell and returns what it printed.
std::string Shell(const std::string& command);

class Process {
 public:
  Process(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
          const std::filesystem::path& stdout_file, const std::filesystem::path& stderr_file);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  pid_t pid() const { return pid_; }
  bool Running();
  // The exit code once the process has ended within `timeout_ms`; nothing if it still runs.
  std::optional<int> WaitExit(int timeout_ms);
  void Terminate();

 private:
  pid_t pid_ = -1;
  std::optional<int> exit_code_;
};

struct Request {
  std::string method;
  std::string path;
  std::string query;  // raw, "-" when there was none
  std::string host;
  std::string agent;  // the first word of its User-Agent; "END" requests are a stream's end
};

// One talvo-demo-service on a free loopback port.
class DemoService {
 public:
  explicit DemoService(const std::filesystem::path& work,
                       const std::vector<std::string>& args = {});
  ~DemoService();

  int port() const { return port_; }
  std::string HostPort() const { return "127.0.0.1:" + std::to_string(port_); }
  std::vector<Request> Requests();
  std::vector<Request> RequestsFor(const std::string& path);
  bool WaitForRequest(const std::string& path, int timeout_ms);

 private:
  std::filesystem::path log_;
  std::unique_ptr<Process> process_;
  int port_ = -1;
};

// The client's main window as the X server sees it.
class ClientWindow {
 public:
  // Starts build/talvo with TALVO_APP_DIR = `app_dir`, whose talvo.ini the caller wrote; a
  // `launcher` (a command that ends by running its last argument) goes in front; `env` adds to
  // its environment.
  explicit ClientWindow(const std::filesystem::path& app_dir,
                        const std::vector<std::string>& launcher = {},
                        const std::map<std::string, std::string>& env = {});
  ~ClientWindow();

  // Waits until the main window is mapped; false if it never appears.
  bool WaitMapped(int timeout_ms);
  std::string Title();
  // The window's _NET_WM_STATE, as the window manager set it.
  std::string WmState();
  // Clicks at a point given in pixels from the top-left of the window's content (menu bar
  // included).
  void ClickAt(int x, int y);
  // Clicks entry `row` of the channel list.
  void ClickChannelRow(int row);
  // Clicks the menu bar's 账号登陆, 听广播, 窗口置顶, or the first bulletin entry.
  void ClickLoginMenu();
  void ClickRadioMenu();
  void ClickKeepAboveMenu();
  void ClickFirstBulletin();
  // Clicks entry `row` of the station list (in the radio view).
  void ClickStationRow(int row);
  // The X window id of this process's visible window whose title contains `title_part`, or
  // empty.
  std::string VisibleWindow(const std::string& title_part);
  // Waits until the window with that id has the X server's keyboard focus.
  bool WaitFocused(const std::string& window, int timeout_ms);
  // Real key events (xdotool arguments) to the window with that id, activated first.
  void KeysTo(const std::string& window, const std::string& xdotool_arguments);
  // Asks the window manager to close the window, as its close button does.
  void Close();
  std::optional<int> WaitExit(int timeout_ms) { return process_->WaitExit(timeout_ms); }
  std::string Stderr() const;
  Process& process() { return *process_; }

 private:
  std::filesystem::path app_dir_;
  std::unique_ptr<Process> process_;
  std::string window_;
};

// What a client whose window never appeared is doing: its threads' stacks while it still runs,
// and what it printed.
std::string WhyNoWindow(pid_t pid, const std::filesystem::path& stderr_file);

// Writes talvo.ini into `app_dir` with the given hosts.
void WriteConfig(const std::filesystem::path& app_dir, const std::string& primary,
                 const std::string& tv, const std::string& channel);

// Saves the display under the artifacts folder.
std::filesystem::path Screenshot(const std::string& name);

// Polls `condition` every 50 ms for at most `timeout_ms` (an outside observer has nothing to
// wait on but the X server and the log files).
bool Eventually(const std::function<bool()>& condition, int timeout_ms);

std::filesystem::path BuildDir();
std::filesystem::path NewWorkDir(const std::string& name);

}  // namespace talvo::e2e
