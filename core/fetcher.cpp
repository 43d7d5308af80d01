#include "core/fetcher.h"

#include <curl/curl.h>
#include <iconv.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "core/utf.h"

namespace talvo {
namespace {

std::mutex g_settings_mutex;
FetchLimits g_limits;
FetchWaitHook g_wait_hook;
std::atomic<unsigned> g_cancel_generation{0};

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
  unsigned generation = 0;
  bool ok = false;

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
  transfer.body.append(data, bytes);
  return bytes;
}

int CheckCancelled(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto& transfer = *static_cast<const Transfer*>(user);
  return transfer.generation != g_cancel_generation.load() ? 1 : 0;
}

void RunTransfer(Transfer& transfer, const std::string& url, const FetchLimits& limits) {
  CURL* curl = curl_easy_init();
  if (curl == nullptr) return;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, limits.max_redirects);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connect.count()));
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.total.count()));
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.body_cap));
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, CollectBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, CheckCancelled);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
  transfer.ok = curl_easy_perform(curl) == CURLE_OK;
  curl_easy_cleanup(curl);
}

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Fetches the raw body; empty on any failure.
std::string FetchBody(const std::string& url, const FetchLimits& limits) {
  InitCurlOnce();
  Transfer transfer;
  transfer.body_cap = limits.body_cap;
  transfer.generation = g_cancel_generation.load();
  FetchWaitHook hook;
  {
    std::lock_guard lock(g_settings_mutex);
    hook = g_wait_hook;
  }
  std::thread worker([&] {
    RunTransfer(transfer, url, limits);
    transfer.MarkDone();
  });
  try {
    if (hook) hook(transfer);
  } catch (...) {
    // A failing hook must not leave the transfer unjoined; fall back to blocking.
  }
  transfer.BlockUntilDone();
  worker.join();
  return transfer.ok ? std::move(transfer.body) : std::string();
}

std::string AsciiLowerTrimmed(std::u16string_view label) {
  const auto is_space = [](char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r';
  };
  while (!label.empty() && is_space(label.front())) label.remove_prefix(1);
  while (!label.empty() && is_space(label.back())) label.remove_suffix(1);
  std::string out;
  for (const char16_t c : label) {
    if (c > 0x7E) return {};
    out.push_back(static_cast<char>(c >= u'A' && c <= u'Z' ? c + 32 : c));
  }
  return out;
}

// WHATWG encoding labels we accept, mapped to iconv names. The gbk decoder of the Encoding
// Standard is the gb18030 decoder, so every GBK label decodes as GB18030.
const char* IconvNameFor(std::u16string_view charset) {
  struct Entry {
    const char* label;
    const char* iconv_name;
  };
  static constexpr Entry kLabels[] = {
      {"gb2312", "GB18030"},   {"gbk", "GB18030"},           {"x-gbk", "GB18030"},
      {"chinese", "GB18030"},  {"csgb2312", "GB18030"},      {"csiso58gb231280", "GB18030"},
      {"gb_2312", "GB18030"},  {"gb_2312-80", "GB18030"},    {"iso-ir-58", "GB18030"},
      {"gb18030", "GB18030"},  {"utf-8", "UTF-8"},           {"utf8", "UTF-8"},
      {"unicode-1-1-utf-8", "UTF-8"},                        {"big5", "BIG5-HKSCS"},
      {"big5-hkscs", "BIG5-HKSCS"},                          {"cn-big5", "BIG5-HKSCS"},
      {"csbig5", "BIG5-HKSCS"}, {"x-x-big5", "BIG5-HKSCS"},  {"us-ascii", "CP1252"},
      {"ascii", "CP1252"},     {"iso-8859-1", "CP1252"},     {"latin1", "CP1252"},
      {"windows-1252", "CP1252"},
  };
  const std::string label = AsciiLowerTrimmed(charset);
  for (const auto& entry : kLabels) {
    if (label == entry.label) return entry.iconv_name;
  }
  return nullptr;
}

void AppendUtf16Le(std::u16string& out, const char* bytes, std::size_t size) {
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                        (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
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

void CancelPendingFetches() { ++g_cancel_generation; }

std::u16string FetchPage(std::u16string_view url, std::u16string_view charset) {
  return FetchPage(url, charset, CurrentFetchLimits());
}

std::u16string FetchPage(std::u16string_view url, std::u16string_view charset,
                         const FetchLimits& limits) {
  try {
    const std::string body = FetchBody(Utf16ToUtf8(url), limits);
    if (body.empty()) return {};
    return DecodeBytes(body, charset);
  } catch (...) {
    return {};
  }
}

std::u16string DecodeBytes(std::string_view body, std::u16string_view charset) {
  const char* source = IconvNameFor(charset);
  if (source == nullptr) return {};
  if (std::string_view(source) == "UTF-8") return Utf8ToUtf16(body);

  iconv_t cd = iconv_open("UTF-16LE", source);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::u16string out;
  try {
    out.reserve(body.size());
    char buffer[8192];
    char* in = const_cast<char*>(body.data());
    std::size_t in_left = body.size();
    while (in_left > 0) {
      char* dst = buffer;
      std::size_t dst_left = sizeof buffer;
      const std::size_t rc = iconv(cd, &in, &in_left, &dst, &dst_left);
      AppendUtf16Le(out, buffer, sizeof buffer - dst_left);
      if (rc != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
      // EILSEQ: one bad byte becomes one replacement and decoding resumes after it, so an ASCII
      // byte that follows a broken lead byte survives. EINVAL: the body ends mid-sequence.
      const int error = errno;
      if (error != EILSEQ && error != EINVAL) break;
      out.push_back(u'\uFFFD');
      if (error == EINVAL) break;
      ++in;
      --in_left;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  } catch (...) {
    out.clear();
  }
  iconv_close(cd);
  return out;
}

}  // namespace talvo
