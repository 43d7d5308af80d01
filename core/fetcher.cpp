#include "core/fetcher.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

#include "core/charset.h"
#include "core/curl_options.h"
#include "core/debug_trace.h"
#include "core/proxy_use.h"
#include "core/utf.h"

namespace talvo {
namespace {

std::mutex g_settings_mutex;
FetchLimits g_limits;
FetchWaitHook g_wait_hook;
std::atomic<bool> g_fetches_enabled{true};

class Transfer final : public FetchCompletion {
 public:
  bool IsDone() const override {
    std::lock_guard lock(mutex_);
    return done_;
  }

  void OnDone(std::function<void()> wake) override {
    std::unique_lock lock(mutex_);
    if (done_) {
      lock.unlock();
      wake();
      return;
    }
    wake_ = std::move(wake);
  }

  // The wake-up runs under the lock, so a waiter that sees IsDone() and tears down whatever the
  // wake-up refers to cannot race with it.
  void MarkDone() {
    std::lock_guard lock(mutex_);
    done_ = true;
    if (wake_) wake_();
    wake_ = nullptr;
    changed_.notify_all();
  }

  void BlockUntilDone() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return done_; });
  }

  std::string body;
  std::size_t body_cap = 0;
  CURL* handle = nullptr;
  bool ok = false;
  bool unreachable = false;

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::function<void()> wake_;
  bool done_ = false;
};

std::size_t CollectBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto& transfer = *static_cast<Transfer*>(user);
  const std::size_t bytes = size * count;
  if (transfer.body.size() + bytes > transfer.body_cap) return 0;  // aborts with a write error
  if (transfer.body.empty()) {
    // One allocation for the announced length spares the copies of a growing buffer.
    curl_off_t announced = -1;
    curl_easy_getinfo(transfer.handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
    if (announced > 0) {
      transfer.body.reserve(std::min(static_cast<std::size_t>(announced), transfer.body_cap));
    }
  }
  transfer.body.append(data, bytes);
  return bytes;
}

// The failures where no answer of the service's arrived, and trying again later may get one.
bool NoReplyCouldBeHad(CURLcode result) {
  switch (result) {
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
      return true;
    default:
      return false;
  }
}

int CheckCancelled(void*, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return g_fetches_enabled.load() ? 0 : 1;
}

void RunTransfer(Transfer& transfer, const std::string& url, const FetchLimits& limits) {
  CURL* curl = curl_easy_init();
  if (curl == nullptr) {
    DebugTrace("fetch", url + ": no transfer handle");
    return;
  }
  transfer.handle = curl;
  CurlOptions options(curl);
  options.Set(CURLOPT_URL, url.c_str())
      .Set(CURLOPT_HTTPGET, 1L)
      .Set(CURLOPT_PROTOCOLS_STR, "http,https")
      .Set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https")
      .Set(CURLOPT_FOLLOWLOCATION, 1L)
      .Set(CURLOPT_MAXREDIRS, limits.max_redirects)
      .Set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connect.count()))
      .Set(CURLOPT_TIMEOUT_MS, static_cast<long>(limits.total.count()))
      .Set(CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.body_cap))
      .Set(CURLOPT_NOSIGNAL, 1L);
  if (UseOf(limits.proxy) != ProxyUse::kSystem) {
    options.Set(CURLOPT_PROXY, UseOf(limits.proxy) == ProxyUse::kNone ? "" : limits.proxy.c_str());
  }
  options.Set(CURLOPT_WRITEFUNCTION, CollectBody)
      .Set(CURLOPT_WRITEDATA, &transfer)
      .Set(CURLOPT_NOPROGRESS, 0L)
      .Set(CURLOPT_XFERINFOFUNCTION, CheckCancelled);
  const CURLcode result =
      options.Refused() == CURLE_OK ? curl_easy_perform(curl) : options.Refused();
  transfer.ok = result == CURLE_OK;
  transfer.unreachable = NoReplyCouldBeHad(result);
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  if (!transfer.ok) {
    DebugTrace("fetch", url + ": " + curl_easy_strerror(result));
  } else if (status >= 400) {
    // Kept as the service's answer, as any other page: only worth a note here.
    DebugTrace("fetch", url + ": HTTP " + std::to_string(status));
  }
  curl_easy_cleanup(curl);
}

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct FetchedBody {
  std::string bytes;
  bool unreachable = false;
};

// Fetches the raw body; empty on any failure.
FetchedBody FetchBody(const std::string& url, const FetchLimits& limits) {
  if (!g_fetches_enabled.load()) return {};
  InitCurlOnce();
  Transfer transfer;
  transfer.body_cap = limits.body_cap;
  FetchWaitHook hook;
  {
    std::lock_guard lock(g_settings_mutex);
    hook = g_wait_hook;
  }
  std::thread worker([&] {
    RunTransfer(transfer, url, limits);
    transfer.MarkDone();
  });
  // A failing hook must not leave the transfer unjoined; the caller blocks instead.
  try {
    if (hook) hook(transfer);
  } catch (const std::exception& error) {
    DebugTrace("fetch", url + ": the wait hook failed (" + error.what() + "); waiting without it");
  } catch (...) {
    DebugTrace("fetch", url + ": the wait hook failed; waiting without it");
  }
  transfer.BlockUntilDone();
  worker.join();
  if (!transfer.ok) return {{}, transfer.unreachable};
  return {std::move(transfer.body), false};
}

}  // namespace

void SetFetchLimits(const FetchLimits& limits) {
  std::lock_guard lock(g_settings_mutex);
  g_limits = limits;
}

FetchLimits CurrentFetchLimits() {
  std::lock_guard lock(g_settings_mutex);
  return g_limits;
}

void SetFetchWaitHook(FetchWaitHook hook) {
  std::lock_guard lock(g_settings_mutex);
  g_wait_hook = std::move(hook);
}

void SetFetchesEnabled(bool enabled) { g_fetches_enabled = enabled; }

std::u16string FetchPage(std::u16string_view url, std::u16string_view charset) {
  return FetchPage(url, charset, CurrentFetchLimits());
}

std::u16string FetchPage(std::u16string_view url, std::u16string_view charset,
                         const FetchLimits& limits) {
  return FetchPageReply(url, charset, limits).text;
}

FetchedText FetchPageReply(std::u16string_view url, std::u16string_view charset) {
  return FetchPageReply(url, charset, CurrentFetchLimits());
}

FetchedText FetchPageReply(std::u16string_view url, std::u16string_view charset,
                           const FetchLimits& limits) {
  try {
    const FetchedBody body = FetchBody(Utf16ToUtf8(url), limits);
    if (body.bytes.empty()) return {{}, body.unreachable};
    return {DecodeBytes(body.bytes, charset), false};
  } catch (const std::exception& error) {
    DebugTrace("fetch", std::string("failed: ") + error.what());
  } catch (...) {
    DebugTrace("fetch", "failed");
  }
  // No answer came: as for a refused connection, what needed it is tried again later.
  return {{}, true};
}

void PrepareFetching() {
  InitCurlOnce();
  PrepareCharsets();
}

}  // namespace talvo
