// talvo-demo-service: every endpoint the client uses, on loopback, with demo accounts, lists,
// bulletins and pages. One process plays the primary host, the TV host and the channel host.
//
//   talvo-demo-service [--port N] [--bind ADDR] [--data DIR] [--media DIR]
//                      [--delay-ms PATH=MS]... [--fail PATH=close|hang|500]...
//
// --port 0 (the default) picks a free port; the port is always the first line of stdout.
// Then one line per request: method, path, raw query, Host.
#include <httplib.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include "core/charset.h"
#include "core/stored_file.h"
#include "core/utf.h"
#include "demo/demo_content.h"
#include "demo/endless_station.h"
#include "demo/live_channel.h"

namespace {

using namespace talvo::demo;

struct Options {
  int port = 0;
  std::string bind = "127.0.0.1";
  std::filesystem::path data = TALVO_DEMO_DATA_DIR;
  std::filesystem::path media = TALVO_DEMO_MEDIA_DIR;
  std::map<std::string, int> delay_ms;         // by path
  std::map<std::string, std::string> failure;  // by path: close, hang, 500
};

std::atomic<bool> g_stopping{false};
// SIGUSR1 takes the service away as a server that restarts is: its port refuses and every running
// stream ends, and after kAway it answers again on the same port. Until then the streams still
// running end at their next write.
std::atomic<std::int64_t> g_away_until_ms{0};
constexpr std::chrono::seconds kAway{8};

std::int64_t SteadyMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
bool Away() { return SteadyMs() < g_away_until_ms.load(); }
std::mutex g_log_mutex;

bool SplitAssignment(const std::string& text, std::string& key, std::string& value) {
  const std::size_t equals = text.rfind('=');
  if (equals == std::string::npos || equals == 0) return false;
  key = text.substr(0, equals);
  value = text.substr(equals + 1);
  return true;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    std::string key;
    std::string value;
    if (arg == "--port" && has_value) {
      options.port = std::atoi(argv[++i]);
    } else if (arg == "--bind" && has_value) {
      options.bind = argv[++i];
    } else if (arg == "--data" && has_value) {
      options.data = argv[++i];
    } else if (arg == "--media" && has_value) {
      options.media = argv[++i];
    } else if (arg == "--delay-ms" && has_value && SplitAssignment(argv[++i], key, value)) {
      options.delay_ms[key] = std::atoi(value.c_str());
    } else if (arg == "--fail" && has_value && SplitAssignment(argv[++i], key, value) &&
               (value == "close" || value == "hang" || value == "500")) {
      options.failure[key] = value;
    } else {
      std::fprintf(stderr,
                   "usage: talvo-demo-service [--port N] [--bind ADDR] [--data DIR] [--media DIR]\n"
                   "       [--delay-ms PATH=MS]... [--fail PATH=close|hang|500]...\n");
      return false;
    }
  }
  return true;
}

// Query values arrive percent-encoded GBK; the data files are UTF-8.
std::string QueryValue(const httplib::Request& request, const char* key) {
  const std::string raw = request.get_param_value(key);
  return talvo::Utf16ToUtf8(talvo::DecodeBytes(raw, u"gbk"));
}

void Send(httplib::Response& response, const std::string& utf8, const char* type) {
  response.set_content(talvo::EncodeGbk(talvo::Utf8ToUtf16(utf8)),
                       std::string(type) + "; charset=gb2312");
}

const char* MediaType(const std::string& name) {
  const auto ends = [&name](const char* suffix) {
    const std::string tail = suffix;
    return name.size() >= tail.size() &&
           name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
  };
  if (ends(".mp4")) return "video/mp4";
  if (ends(".m4s")) return "video/iso.segment";
  // The on-demand playlist under the older of its two types; the live one has the other.
  if (ends(".m3u8")) return "application/x-mpegurl";
  if (ends(".mpd")) return "application/dash+xml";
  if (ends(".mp3")) return "audio/mpeg";
  return "application/octet-stream";
}

// "METHOD path query host agent": the agent is the first word of the User-Agent, which tells the
// page engine from a TV's player.
std::string LogLine(const std::string& what, const httplib::Request& request,
                    const std::string& query) {
  std::string agent = request.get_header_value("User-Agent");
  agent = agent.substr(0, agent.find(' '));
  return what + " " + request.path + " " + query + " " + request.get_header_value("Host") + " " +
         (agent.empty() ? "-" : agent);
}

void PrintLog(const std::string& line) {
  std::lock_guard lock(g_log_mutex);
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

void Log(const httplib::Request& request) {
  const std::size_t mark = request.target.find('?');
  const std::string query = mark == std::string::npos ? "" : request.target.substr(mark + 1);
  PrintLog(LogLine(request.method, request, query.empty() ? "-" : query));
}

// Applies the configured delay and failure of a path; false when the request must not be
// answered normally.
bool Prepare(const Options& options, const httplib::Request& request, httplib::Response& response) {
  Log(request);
  if (const auto delay = options.delay_ms.find(request.path); delay != options.delay_ms.end()) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(delay->second);
    while (!g_stopping && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  const auto failure = options.failure.find(request.path);
  if (failure == options.failure.end()) return true;
  if (failure->second == "500") {
    response.status = 500;
    Send(response, "服务器内部错误 500", "text/html");
  } else if (failure->second == "close") {
    // Headers promise a body that never comes: the client sees the connection drop.
    response.set_content_provider(
        64, "text/plain", [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
  } else {
    while (!g_stopping) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) return 2;
  const DemoData data = LoadDemoData(options.data);
  if (data.accounts.empty()) {
    std::fprintf(stderr, "talvo-demo-service: no accounts in %s\n", options.data.c_str());
    return 2;
  }

  // Block the stop signals and SIGUSR1 before any thread starts, then wait for them here.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  httplib::Server server;
  // Every endless station and hung reply holds a thread for as long as it lasts.
  server.new_task_queue = [] { return new httplib::ThreadPool(64); };
  const auto route = [&](const char* pattern, auto&& reply) {
    server.Get(pattern, [&, reply](const httplib::Request& request, httplib::Response& response) {
      if (Prepare(options, request, response)) reply(request, response);
    });
  };
  const auto host = [](const httplib::Request& request) {
    return request.get_header_value("Host");
  };

  route("/user/denglu.asp", [&](const httplib::Request& request, httplib::Response& response) {
    Send(response, LoginReply(data, QueryValue(request, "yh"), QueryValue(request, "pw")),
         "text/html");
  });
  route("/user/yanzhen.asp", [&](const httplib::Request& request, httplib::Response& response) {
    Send(response, VerifyPage(data, QueryValue(request, "yh"), host(request)), "text/html");
  });
  route("/user/jiemubiao.asp", [&](const httplib::Request& request, httplib::Response& response) {
    Send(response, ProgrammeList(data, host(request)), "text/html");
  });
  route("/user/diantaibiao.asp", [&](const httplib::Request& request, httplib::Response& response) {
    Send(response, StationList(data, host(request)), "text/html");
  });
  route("/user/Download.asp", [&](const httplib::Request& request, httplib::Response& response) {
    const std::string user = QueryValue(request, "yh");
    Send(response,
         PlainPage("塔沃高清影音 下载中心", "这里是演示服务的下载页。当前账号：" +
                                                (user.empty() ? std::string("（未登录）") : user)),
         "text/html");
  });
  route("/user/reg.asp", [&](const httplib::Request&, httplib::Response& response) {
    Send(response,
         PlainPage("塔沃用户注册", "这里是演示服务的注册页：演示账号见 make run 的提示。"),
         "text/html");
  });
  route(R"(/usbtv/radio/([^/]+))",
        [&](const httplib::Request& request, httplib::Response& response) {
          for (const Entry& station : data.stations) {
            if (station.page == request.matches[1]) {
              Send(response, StationPage(station), "text/html");
              return;
            }
          }
          response.status = 404;
          Send(response, PlainPage("没有这个电台", request.path), "text/html");
        });
  route(R"(/usbtv/([^/]+))", [&](const httplib::Request& request, httplib::Response& response) {
    const std::string page = request.matches[1];
    Send(response, ChannelPage(ChannelName(data, page), SourceOfChannel(page)), "text/html");
  });
  // The live channel in its two packagings; the window moves with the service's clock.
  const auto started = std::chrono::steady_clock::now();
  const auto serve_live = [&](const char* folder, const char* extension, const char* type) {
    auto live = std::make_shared<const LiveChannel>(options.media / folder);
    const auto newest = [live, started] {
      return live->NewestAt(
          std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    };
    const std::string base = std::string("/media/") + folder + "/";
    route((base + "live.m3u8").c_str(), [=](const httplib::Request&, httplib::Response& response) {
      response.set_header("Cache-Control", "no-cache");
      response.set_content(live->Playlist(newest()), "application/vnd.apple.mpegurl");
    });
    route((base + "s([0-9]{1,12})\\" + extension).c_str(),
          [=](const httplib::Request& request, httplib::Response& response) {
            const auto segment = live->Segment(std::stoll(request.matches[1]), newest());
            if (!segment) {
              response.status = 404;
              return;
            }
            response.set_content(*segment, type);
          });
  };
  serve_live("live", ".m4s", "video/iso.segment");
  serve_live("live_ts", ".ts", "video/mp2t");
  // The endless stations: a burst of two seconds, then the stream's own rate, for as long as
  // the listener stays.
  route(R"(/stream/([a-z0-9_]+)\.(mp3|aac))",
        [&](const httplib::Request& request, httplib::Response& response) {
          const std::string format = request.matches[2];
          std::string why;
          auto clip = std::make_shared<const std::string>(
              talvo::ReadFileHead(
                  options.media / "radio" / (std::string(request.matches[1]) + "." + format),
                  16 << 20, why)
                  .value_or(std::string()));
          const double seconds = AudioSeconds(*clip);
          if (seconds <= 0) {
            response.status = 404;
            return;
          }
          const double rate = clip->size() / seconds;  // bytes a second
          response.set_header("Cache-Control", "no-cache");
          response.set_header("icy-br", std::to_string(std::lround(rate * 8 / 1000)));
          response.set_content_provider(
              format == "mp3" ? "audio/mpeg" : "audio/aac",
              [clip, rate, since = std::chrono::steady_clock::now()](std::size_t offset,
                                                                     httplib::DataSink& sink) {
                if (Away()) return false;
                const double elapsed =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
                const auto due = static_cast<std::size_t>((2 + elapsed) * rate);
                if (offset >= due) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(50));
                  return !g_stopping.load();
                }
                const std::size_t at = offset % clip->size();
                return sink.write(clip->data() + at, std::min(due - offset, clip->size() - at));
              },
              // The listener's leaving is logged too ("END"): the 投屏 test sees a TV stop.
              [end = LogLine("END", request, "-")](bool) { PrintLog(end); });
        });
  // The clips and segments; httplib answers range requests from the whole content.
  route(R"(/media/([a-z0-9_./-]+))",
        [&](const httplib::Request& request, httplib::Response& response) {
          const std::string name = request.matches[1];
          std::ifstream in(options.media / name, std::ios::binary);
          if (name.find("..") != std::string::npos || !in) {
            response.status = 404;
            return;
          }
          std::ostringstream bytes;
          bytes << in.rdbuf();
          response.set_content(bytes.str(), MediaType(name));
        });
  route(R"(/news/([^/]+))", [&](const httplib::Request& request, httplib::Response& response) {
    Send(response,
         PlainPage("塔沃公告", "公告页面 " + std::string(request.matches[1]) + "：演示内容。"),
         "text/html");
  });

  const int port = options.port == 0
                       ? server.bind_to_any_port(options.bind)
                       : (server.bind_to_port(options.bind, options.port) ? options.port : -1);
  if (port <= 0) {
    std::fprintf(stderr, "talvo-demo-service: cannot listen on %s:%d\n", options.bind.c_str(),
                 options.port);
    return 1;
  }
  std::printf("%d\n", port);
  std::fflush(stdout);

  std::thread listener([&] { server.listen_after_bind(); });
  int signal_number = 0;
  bool stop = false;
  while (!stop && sigwait(&stop_signals, &signal_number) == 0) {
    stop = signal_number != SIGUSR1;
    if (stop) break;
    std::fprintf(stderr, "talvo-demo-service: away for %lld s\n",
                 static_cast<long long>(kAway.count()));
    g_away_until_ms = SteadyMs() + std::chrono::milliseconds(kAway).count();
    server.stop();
    listener.join();
    const timespec tick{0, 100'000'000};
    while (!stop && Away()) {
      const int waited = sigtimedwait(&stop_signals, nullptr, &tick);
      stop = waited == SIGINT || waited == SIGTERM;
    }
    if (stop || !server.bind_to_port(options.bind, port)) break;
    listener = std::thread([&] { server.listen_after_bind(); });
  }
  g_stopping = true;
  server.stop();
  if (listener.joinable()) listener.join();
  return 0;
}
