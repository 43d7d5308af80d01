// The demo's live channel, served as a live encoder's packager serves one: a playlist that is a
// sliding window moving with the clock, old segments leaving it. Its picture is a short loop of
// segments made at build time, in one of two packagings:
// - fragmented MP4, for script players over Media Source Extensions: each round of the loop has
//   its timestamps moved on by the loop's length, so that the player sees one unbroken stream;
// - MPEG-TS, for a playlist handed to the video element, as pages for phones do: each round is
//   marked as a discontinuity, as packagers mark a looped programme. (The engine's HLS player
//   takes the first segment it plays for the stream's start, so fragmented MP4 whose times run
//   on from the channel's start never shows a picture there; MPEG-TS is what such pages carry.)
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace talvo::demo {

class LiveChannel {
 public:
  // How many segments the playlist names at a time, and how many older ones are still served
  // to a player that is behind.
  static constexpr int kWindow = 6;
  static constexpr int kKeptBehind = 10;

  // From a folder that demo/make_media.sh fills: the on-demand playlist index.m3u8 of the loop's
  // segments, and init.mp4 for fragmented MP4. Empty (no segments) when they are not there.
  explicit LiveChannel(const std::filesystem::path& folder);

  bool Empty() const { return segments_.empty(); }
  double SegmentSeconds() const { return segment_seconds_; }
  const std::string& Init() const { return init_; }

  // The newest segment after `elapsed_seconds` of the service's life: a whole window is there
  // from the start.
  std::int64_t NewestAt(double elapsed_seconds) const;
  // The playlist whose newest segment is `newest`, named "s<sequence>.m4s" or "s<sequence>.ts".
  std::string Playlist(std::int64_t newest) const;
  // Segment `sequence` while it is in the window or just left it; nothing otherwise.
  std::optional<std::string> Segment(std::int64_t sequence, std::int64_t newest) const;

 private:
  bool transport_stream_ = false;
  std::string init_;
  std::vector<std::string> segments_;
  double segment_seconds_ = 2;
  std::map<std::uint32_t, std::uint32_t> timescales_;  // by track
};

}  // namespace talvo::demo
