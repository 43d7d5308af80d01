// What the demo service knows and says: accounts, lists and pages, built as text. The service
// sends every reply GBK-encoded, as the real one does.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace talvo::demo {

struct Account {
  std::string user;      // UTF-8
  std::string password;  // UTF-8
  std::string level;     // "VIP" or "普通"
};

struct Entry {
  std::string name;    // UTF-8
  std::string page;    // file name under its folder
  std::string stream;  // a station's endless stream, "mp3" or "aac"; empty for a file
};

struct Bulletin {
  bool for_members = false;
  std::string title;
  std::string page;
};

struct DemoData {
  std::vector<Account> accounts;
  std::vector<Entry> programmes;
  std::vector<Entry> stations;
  std::vector<Bulletin> bulletins;
};

// Reads accounts.txt, programmes.txt, stations.txt and bulletins.txt (tab-separated, "#"
// comments) from `folder`. A missing file leaves its part empty.
DemoData LoadDemoData(const std::filesystem::path& folder);

// All texts below are UTF-8; `host` is the Host the request came to, so that every address the
// service hands out points back at itself.
std::string LoginReply(const DemoData& data, const std::string& user, const std::string& password);
std::string ProgrammeList(const DemoData& data, const std::string& host);
std::string StationList(const DemoData& data, const std::string& host);
std::string VerifyPage(const DemoData& data, const std::string& user, const std::string& host);
// How a channel page gets its picture, as the pages of TV services do:
// - kFile, kHevcFile: an H.264/AAC or H.265/AAC file in <video>;
// - kMediaSource: fragmented-MP4 segments fed through Media Source Extensions by the page's own
//   script, without end;
// - kLiveScript: the live channel's sliding playlist read by the page's own script player, its
//   new segments fed through Media Source Extensions;
// - kLiveElement, kHlsElement, kDashElement: a manifest handed to <video> itself, as pages
//   written for phones do: the live playlist in MPEG-TS (application/vnd.apple.mpegurl), an
//   on-demand one (application/x-mpegurl) or an on-demand DASH manifest;
// - kBroken: a file that cannot be decoded (the page shows its error).
enum class ChannelSource {
  kFile,
  kHevcFile,
  kMediaSource,
  kLiveScript,
  kLiveElement,
  kHlsElement,
  kDashElement,
  kBroken
};
// 广东卫视高清 plays through Media Source Extensions; live, livem3u8, vodm3u8, dash and hevc
// (".html") play as their names say, "broken.html" is the undecodable channel; every other
// channel plays the H.264 file.
ChannelSource SourceOfChannel(const std::string& page);
std::string ChannelPage(const std::string& name, ChannelSource source);
// The station's MP3 file, or its endless stream, in <audio>.
std::string StationPage(const Entry& station);
std::string PlainPage(const std::string& title, const std::string& text);

// The name shown for a channel page: built-in channels, programme entries, else the page name.
std::string ChannelName(const DemoData& data, const std::string& page);

}  // namespace talvo::demo
