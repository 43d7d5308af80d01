// Core figures: scrambling cost, and FetchPage beside a plain libcurl GET of the same 1 MiB GBK
// reply from the same loopback server, so the fetcher's own overhead shows as a ratio.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include "core/charset.h"
#include "core/fetcher.h"
#include "core/scrambler.h"
#include "core/utf.h"
#include "tests/support/loopback_server.h"

namespace {

using talvo::testing::LoopbackServer;

// 1 MiB of a GBK programme list: name line, address line, repeated.
const std::string& GbkReply() {
  static const std::string reply = [] {
    const std::string pair =
        "\xB1\xB1\xBE\xA9\xCE\xC0\xCA\xD3\xB8\xDF\xC7\xE5\r\nhttp://127.0.0.1/usbtv/bj.htm\r\n";
    std::string body;
    while (body.size() + pair.size() <= (1u << 20)) body += pair;
    body.resize(1u << 20, ' ');
    return body;
  }();
  return reply;
}

LoopbackServer& Server() {
  static LoopbackServer* server = [] {
    auto* s = new LoopbackServer;
    s->http().Get("/list", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(GbkReply(), "text/plain; charset=gb2312");
    });
    s->Start();
    return s;
  }();
  return *server;
}

void BM_EncodeText(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(talvo::EncodeText(u"viewer_2024@Pw"));
}
BENCHMARK(BM_EncodeText);

void BM_DecodeText(benchmark::State& state) {
  const std::u16string form = talvo::EncodeText(u"viewer_2024@Pw");
  for (auto _ : state) benchmark::DoNotOptimize(talvo::DecodeText(form));
}
BENCHMARK(BM_DecodeText);

std::size_t Keep(char* data, std::size_t size, std::size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

// The floor: a fresh easy handle per request, the body kept in a string, nothing decoded.
void BM_PlainCurlGet1MiB(benchmark::State& state) {
  const std::string url = Server().Url("/list");
  curl_global_init(CURL_GLOBAL_DEFAULT);
  for (auto _ : state) {
    std::string received;
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Keep);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &received);
    if (curl_easy_perform(curl) != CURLE_OK || received.size() != GbkReply().size()) {
      state.SkipWithError("plain GET failed");
    }
    curl_easy_cleanup(curl);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(GbkReply().size()));
}
BENCHMARK(BM_PlainCurlGet1MiB)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_FetchPage1MiB(benchmark::State& state) {
  const std::u16string url = talvo::Utf8ToUtf16(Server().Url("/list"));
  for (auto _ : state) {
    const std::u16string text = talvo::FetchPage(url, u"gb2312");
    if (text.empty()) state.SkipWithError("FetchPage failed");
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(GbkReply().size()));
}
BENCHMARK(BM_FetchPage1MiB)->UseRealTime()->Unit(benchmark::kMillisecond);

// The decoding share of FetchPage, on its own.
void BM_DecodeBytes1MiB(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(talvo::DecodeBytes(GbkReply(), u"gb2312"));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(GbkReply().size()));
}
BENCHMARK(BM_DecodeBytes1MiB)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
