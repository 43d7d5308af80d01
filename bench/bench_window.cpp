// Window-side figures, on a real display: the CPU a fetch burns while it waits for a slow reply
// (the event loop sleeps until the transfer wakes it), and parsing and filling programme lists
// of 4,400 and 100,000 entries into the real list box.
#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/listbox.h>

#include <chrono>
#include <thread>

#include "core/fetcher.h"
#include "core/utf.h"
#include "mainwindow/line_pairs.h"
#include "mainwindow/page_list_ui.h"
#include "platform/fetch_wait.h"
#include "tests/support/loopback_server.h"
#include "tests/support/recording_browser.h"

namespace {

using namespace std::chrono_literals;

class BenchApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

// Process CPU over wall time while one fetch waits 3 s for its reply.
void BM_FetchWaitCpu(benchmark::State& state) {
  talvo::testing::LoopbackServer server;
  server.http().Get("/slow", [](const httplib::Request&, httplib::Response& res) {
    std::this_thread::sleep_for(3s);
    res.set_content("\xCE\xC0\xCA\xD3", "text/plain");
  });
  server.Start();
  const std::u16string url = talvo::Utf8ToUtf16(server.Url("/slow"));
  for (auto _ : state) {
    if (talvo::FetchPage(url, u"gb2312") != u"卫视") state.SkipWithError("fetch failed");
  }
}
BENCHMARK(BM_FetchWaitCpu)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

std::u16string ProgrammeReply(int pairs) {
  std::u16string text;
  for (int i = 0; i < pairs; ++i) {
    const std::u16string n = talvo::Utf8ToUtf16(std::to_string(i));
    text += u"卫视频道" + n + u"\r\nhttp://127.0.0.1:8080/usbtv/ch" + n + u".html\r\n";
  }
  return text;
}

// Parse a reply and append it to a fresh channel list: what start-up does with the reply.
void BM_ParseAndFill(benchmark::State& state) {
  const std::u16string reply = ProgrammeReply(static_cast<int>(state.range(0)));
  auto* frame = new wxFrame(nullptr, wxID_ANY, "bench");
  talvo::RecordingBrowser playback(frame);
  for (auto _ : state) {
    state.PauseTiming();
    auto list = std::make_unique<talvo::PageList>(new wxListBox(frame, wxID_ANY), playback);
    list->Append(talvo::BuiltInChannelEntries(u"live"));
    state.ResumeTiming();
    list->Append(talvo::ParseLinePairs(reply));
    state.PauseTiming();
    if (list->List()->GetCount() != static_cast<unsigned>(state.range(0)) + 6) {
      state.SkipWithError("wrong entry count");
    }
    list->List()->Destroy();
    state.ResumeTiming();
  }
  frame->Destroy();
}
BENCHMARK(BM_ParseAndFill)->Arg(4400)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  wxApp::SetInstance(new BenchApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "bench_window needs a display (scripts/with-display)\n");
    return 1;
  }
  talvo::InstallEventLoopFetchWait();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return 0;
}
