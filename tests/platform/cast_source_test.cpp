#include "platform/web/cast_source.h"

#include <gtest/gtest.h>

namespace talvo {
namespace {

using enum CastKind;

// What each kind of page can hand to a renderer: its file, its station, the playlist given to
// the element, the playlist or stream its script player reads, or nothing.
TEST(CastSourceTest, WhatAPagePlaysIsSentWhereARendererCanFetchIt) {
  const std::vector<std::string> segments = {"http://h/live/seg1.ts", "http://h/live/seg2.ts"};
  const struct {
    const char* what;
    PageMedia media;
    std::optional<CastSource> sent;
  } cases[] = {
      {"a file",
       {"http://h/media/channel.MP4?t=1#x", true, {}},
       CastSource{kFile, "http://h/media/channel.MP4?t=1#x", "video/mp4", true}},
      {"a station",
       {"https://h/stream/hqyy.mp3", false, {}},
       CastSource{kStation, "https://h/stream/hqyy.mp3", "audio/mpeg", false}},
      {"an AAC station",
       {"http://h/stream/dslx.aac", false, {}},
       CastSource{kStation, "http://h/stream/dslx.aac", "audio/aac", false}},
      {"a playlist handed to the element",
       {"http://h/live_ts/live.m3u8", true, {}},
       CastSource{kPlaylist, "http://h/live_ts/live.m3u8", "application/vnd.apple.mpegurl", true}},
      {"an address of no known type",
       {"http://h/play?id=3", false, {}},
       CastSource{kFile, "http://h/play?id=3", "audio/mpeg", false}},
      {"a script player's playlist, its segments after it",
       {"blob:http://h/1-2", true, {"http://h/live/live.m3u8", segments[0], segments[1]}},
       CastSource{kScriptPlayer, "http://h/live/live.m3u8", "application/vnd.apple.mpegurl", true}},
      {"a script player's FLV stream",
       {"blob:http://h/9", true, {"http://h/live/a.flv"}},
       CastSource{kScriptPlayer, "http://h/live/a.flv", "video/x-flv", true}},
      {"a script player whose playlist was not seen",
       {"blob:http://h/1", true, segments},
       std::nullopt},
      {"nothing plays", {"", false, {"http://h/live/live.m3u8"}}, std::nullopt},
      {"a page's own data", {"data:audio/mp3;base64,AAAA", false, {}}, std::nullopt},
      {"a file of the disk", {"file:///home/a.mp4", true, {}}, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(CastSourceOf(c.media), c.sent) << c.what;
}

TEST(CastSourceTest, TheMetadataEscapesTheTitleAndTheAddress) {
  const std::string metadata =
      CastMetadata("新闻 <直播> & \"A\"\x01",
                   {kPlaylist, "http://h/a.m3u8?a=1&b=2", "application/x-mpegURL", true});
  EXPECT_NE(metadata.find("<dc:title>新闻 &lt;直播&gt; &amp; &quot;A&quot;</dc:title>"),
            std::string::npos)
      << metadata;
  EXPECT_NE(metadata.find("<res protocolInfo=\"http-get:*:application/x-mpegURL:*\">"
                          "http://h/a.m3u8?a=1&amp;b=2</res>"),
            std::string::npos)
      << metadata;
  EXPECT_NE(metadata.find("object.item.videoItem.videoBroadcast"), std::string::npos);
}

TEST(CastSourceTest, ThePagesReportIsReadAsWhatItPlays) {
  const struct {
    const char* message;
    std::optional<PageMedia> media;
  } cases[] = {
      {"cast video blob:http://h/1 http://h/live.m3u8 http://h/s1.ts",
       PageMedia{"blob:http://h/1", true, {"http://h/live.m3u8", "http://h/s1.ts"}}},
      {"cast audio http://h/a.mp3 ", PageMedia{"http://h/a.mp3", false, {}}},
      {"cast video -", PageMedia{"", true, {}}},
      {"cast picture http://h/a.mp4", std::nullopt},
      {"media 1 playing 0 NaN -", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadCastReport(c.message), c.media) << c.message;
  std::string flood = "cast video blob:x";
  for (int i = 0; i < 1000; ++i) flood += " http://h/" + std::to_string(i) + ".ts";
  EXPECT_EQ(ReadCastReport(flood)->player_reads.size(), 32u);
}

}  // namespace
}  // namespace talvo
