#include "tests/support/client_harness.h"
#include "tests/support/scratch.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace talvo::e2e {
namespace {

// Layout of the main window on the test display: the menu bar and the list's row height in
// pixels, as GTK draws them with the project's CJK font at 96 DPI.
constexpr int kListTopPx = 26;
constexpr int kListRowPx = 23;
constexpr int kMenuBarMidPx = 13;
constexpr int kRadioMenuMidPx = 67;       // 看电视 [听广播] 账号登陆 窗口置顶
constexpr int kLoginMenuMidPx = 143;      // 看电视 听广播 [账号登陆] 窗口置顶
constexpr int kKeepAboveMenuMidPx = 219;  // 看电视 听广播 账号登陆 [窗口置顶]
constexpr int kFirstBulletinMidPx = 311;  // the demo's guest entry "1.欢迎试用塔沃高清"
constexpr int kStationListTopPx = kListTopPx + 24;  // below the two border buttons

std::vector<std::string> Lines(const std::filesystem::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace

std::filesystem::path BuildDir() { return TALVO_BUILD_DIR; }

std::filesystem::path NewWorkDir(const std::string& name) {
  const std::filesystem::path dir = BuildDir() / "e2e-work" / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

std::string Shell(const std::string& command) { return testing::CommandOutput(command); }

bool Eventually(const std::function<bool()>& condition, int timeout_ms) {
  return testing::WaitUntil(condition, timeout_ms,
                            [] { std::this_thread::sleep_for(std::chrono::milliseconds(50)); });
}

Process::Process(const std::vector<std::string>& argv,
                 const std::map<std::string, std::string>& env,
                 const std::filesystem::path& stdout_file,
                 const std::filesystem::path& stderr_file) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    if (env.count(text.substr(0, text.find('='))) == 0) environment.push_back(text);
  }
  for (const auto& [key, value] : env) environment.push_back(key + "=" + value);
  std::vector<char*> argv_c;
  for (const std::string& arg : argv) argv_c.push_back(const_cast<char*>(arg.c_str()));
  argv_c.push_back(nullptr);
  std::vector<char*> env_c;
  for (const std::string& entry : environment) env_c.push_back(const_cast<char*>(entry.c_str()));
  env_c.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, stdout_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, stderr_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  const int rc = posix_spawn(&pid_, argv_c[0], &actions, nullptr, argv_c.data(), env_c.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + argv[0]);
}

Process::~Process() { Terminate(); }

bool Process::Running() { return !WaitExit(0).has_value(); }

std::optional<int> Process::WaitExit(int timeout_ms) {
  if (exit_code_) return exit_code_;
  const auto exited = [this] {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) != pid_) return false;
    exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
  };
  testing::WaitUntil(exited, timeout_ms,
                     [] { std::this_thread::sleep_for(std::chrono::milliseconds(20)); });
  return exit_code_;
}

void Process::Terminate() {
  if (pid_ <= 0 || exit_code_) return;
  ::kill(pid_, SIGTERM);
  if (!WaitExit(5000)) {
    ::kill(pid_, SIGKILL);
    WaitExit(5000);
  }
}

DemoService::DemoService(const std::filesystem::path& work, const std::vector<std::string>& args)
    : log_(work /
           ("service-" + std::to_string(::getpid()) + "-" +
            std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".log")) {
  std::vector<std::string> argv = {(BuildDir() / "talvo-demo-service").string(), "--port", "0"};
  argv.insert(argv.end(), args.begin(), args.end());
  process_ = std::make_unique<Process>(argv, std::map<std::string, std::string>{}, log_,
                                       work / "service.err");
  Eventually(
      [&] {
        const auto lines = Lines(log_);
        if (!lines.empty() && !lines[0].empty()) port_ = std::atoi(lines[0].c_str());
        return port_ > 0;
      },
      10000);
  if (port_ <= 0) throw std::runtime_error("the demo service did not report its port");
}

DemoService::~DemoService() = default;

std::vector<Request> DemoService::Requests() {
  std::vector<Request> requests;
  const auto lines = Lines(log_);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::istringstream fields(lines[i]);
    Request request;
    fields >> request.method >> request.path >> request.query >> request.host >> request.agent;
    requests.push_back(request);
  }
  return requests;
}

std::vector<Request> DemoService::RequestsFor(const std::string& path) {
  std::vector<Request> matching;
  for (const Request& request : Requests()) {
    if (request.path == path) matching.push_back(request);
  }
  return matching;
}

bool DemoService::WaitForRequest(const std::string& path, int timeout_ms) {
  return Eventually([&] { return !RequestsFor(path).empty(); }, timeout_ms);
}

void WriteConfig(const std::filesystem::path& app_dir, const std::string& primary,
                 const std::string& tv, const std::string& channel) {
  std::ofstream(app_dir / "talvo.ini")
      << "[service]\nprimary_host = " << primary << "\ntv_host = " << tv
      << "\nchannel_host = " << channel << "\nproduct_site = www.talvo.example\n"
      << "report_email = support@talvo.example\n"
      << "[network]\nconnect_timeout_ms = 2000\n"
      << "request_timeout_ms = 5000\n";
}

ClientWindow::ClientWindow(const std::filesystem::path& app_dir,
                           const std::vector<std::string>& launcher,
                           const std::map<std::string, std::string>& env)
    : app_dir_(app_dir) {
  std::vector<std::string> argv = launcher;
  argv.push_back((BuildDir() / "talvo").string());
  std::map<std::string, std::string> environment = env;
  environment["TALVO_APP_DIR"] = app_dir.string();
  process_ =
      std::make_unique<Process>(argv, environment, app_dir / "client.out", app_dir / "client.err");
}

ClientWindow::~ClientWindow() = default;

bool ClientWindow::WaitMapped(int timeout_ms) {
  // The frame is the window of this process that carries the product title.
  if (Eventually([&] { return !(window_ = VisibleWindow("V2.02")).empty(); }, timeout_ms))
    return true;
  std::fprintf(stderr, "%s", WhyNoWindow(process_->pid(), app_dir_ / "client.err").c_str());
  return false;
}

std::string ClientWindow::VisibleWindow(const std::string& title_part) {
  // By _NET_WM_NAME: GTK may set no legacy WM_NAME for a Chinese title.
  std::istringstream ids(Shell("xdotool search --onlyvisible --pid " +
                               std::to_string(process_->pid()) + " 2>/dev/null"));
  for (std::string id; ids >> id;) {
    if (Shell("xprop -id " + id + " _NET_WM_NAME 2>/dev/null").find(title_part) !=
        std::string::npos) {
      return id;
    }
  }
  return {};
}

bool ClientWindow::WaitFocused(const std::string& window, int timeout_ms) {
  return Eventually([&] { return Shell("xdotool getwindowfocus 2>/dev/null") == window + "\n"; },
                    timeout_ms);
}

void ClientWindow::KeysTo(const std::string& window, const std::string& xdotool_arguments) {
  Shell("xdotool windowactivate --sync " + window + " " + xdotool_arguments + " 2>/dev/null");
}

std::string ClientWindow::Title() {
  const std::string line = Shell("xprop -id " + window_ + " _NET_WM_NAME 2>/dev/null");
  const std::size_t open = line.find('"');
  const std::size_t close = line.rfind('"');
  if (open == std::string::npos || close <= open) return {};
  return line.substr(open + 1, close - open - 1);
}

std::string ClientWindow::WmState() {
  return Shell("xprop -id " + window_ + " _NET_WM_STATE 2>/dev/null");
}

void ClientWindow::ClickAt(int x, int y) {
  Shell("xdotool windowactivate --sync " + window_ + " mousemove --window " + window_ + " " +
        std::to_string(x) + " " + std::to_string(y) + " click 1 2>/dev/null");
}

void ClientWindow::ClickChannelRow(int row) {
  ClickAt(40, kListTopPx + kListRowPx * row + kListRowPx / 2);
}

void ClientWindow::ClickLoginMenu() { ClickAt(kLoginMenuMidPx, kMenuBarMidPx); }
void ClientWindow::ClickRadioMenu() { ClickAt(kRadioMenuMidPx, kMenuBarMidPx); }
void ClientWindow::ClickKeepAboveMenu() { ClickAt(kKeepAboveMenuMidPx, kMenuBarMidPx); }
void ClientWindow::ClickFirstBulletin() { ClickAt(kFirstBulletinMidPx, kMenuBarMidPx); }

void ClientWindow::ClickStationRow(int row) {
  ClickAt(40, kStationListTopPx + kListRowPx * row + kListRowPx / 2);
}

void ClientWindow::Close() {
  Shell("xdotool windowactivate --sync " + window_ + " key --clearmodifiers alt+F4 2>/dev/null");
}

std::string ClientWindow::Stderr() const { return testing::FileBytes(app_dir_ / "client.err"); }

std::string WhyNoWindow(pid_t pid, const std::filesystem::path& stderr_file) {
  const std::string id = std::to_string(pid);
  std::string why;
  if (::kill(pid, 0) == 0) {
    // A start that hangs says where only while it still hangs.
    why = "the client still runs; its threads:\n" +
          Shell("gdb -p " + id +
                " -batch -ex 'thread apply all bt' 2>&1 | grep -E '^(Thread|#)|ptrace|permitted'");
  } else {
    why = "the client has ended\n";
  }
  return why + "its stderr:\n" + testing::FileBytes(stderr_file);
}

std::filesystem::path Screenshot(const std::string& name) {
  const std::filesystem::path folder = BuildDir() / "artifacts";
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / ("e2e-" + name + ".png");
  // Give the compositor a moment to paint what just loaded.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  Shell("import -window root '" + file.string() + "' 2>/dev/null");
  return file;
}

}  // namespace talvo::e2e
