#include "demo/live_channel.h"

#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>
#include <string_view>

#include "core/stored_file.h"

namespace talvo::demo {
namespace {

// A segment or the init segment; a few hundred KiB each.
std::string ReadFile(const std::filesystem::path& file) {
  std::string why;
  return ReadFileHead(file, 64 << 20, why).value_or(std::string());
}

std::uint64_t Read(const std::string& bytes, std::size_t at, int width) {
  std::uint64_t value = 0;
  for (int i = 0; i < width && at + i < bytes.size(); ++i) {
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  }
  return value;
}

void Write(std::string& bytes, std::size_t at, int width, std::uint64_t value) {
  for (int i = width - 1; i >= 0 && at + i < bytes.size(); --i, value >>= 8) {
    bytes[at + i] = static_cast<char>(value & 0xff);
  }
}

// Calls `visit(type, start, end)` for each ISO-BMFF box between `from` and `to`, with the box's
// bytes from `start` (its header) to `end`.
void ForEachBox(const std::string& bytes, std::size_t from, std::size_t to,
                const std::function<void(std::string_view, std::size_t, std::size_t)>& visit) {
  while (from + 8 <= to) {
    std::uint64_t size = Read(bytes, from, 4);
    if (size == 1) size = Read(bytes, from + 8, 8);
    if (size == 0) size = to - from;
    if (size < 8 || from + size > to) return;
    visit(std::string_view(bytes).substr(from + 4, 4), from, from + size);
    from += size;
  }
}

// A full box's version.
int Version(const std::string& bytes, std::size_t box) {
  return static_cast<int>(Read(bytes, box + 8, 1));
}

// track_ID → the timescale of its media, from the init segment's moov/trak/{tkhd, mdia/mdhd}.
std::map<std::uint32_t, std::uint32_t> Timescales(const std::string& init) {
  std::map<std::uint32_t, std::uint32_t> timescales;
  ForEachBox(init, 0, init.size(), [&](std::string_view type, std::size_t start, std::size_t end) {
    if (type != "moov") return;
    ForEachBox(init, start + 8, end, [&](std::string_view trak, std::size_t from, std::size_t to) {
      if (trak != "trak") return;
      std::uint32_t track = 0;
      std::uint32_t timescale = 0;
      ForEachBox(init, from + 8, to, [&](std::string_view part, std::size_t at, std::size_t stop) {
        if (part == "tkhd") track = Read(init, at + (Version(init, at) == 1 ? 28 : 20), 4);
        if (part != "mdia") return;
        ForEachBox(init, at + 8, stop, [&](std::string_view mdhd, std::size_t box, std::size_t) {
          if (mdhd == "mdhd") timescale = Read(init, box + (Version(init, box) == 1 ? 28 : 20), 4);
        });
      });
      if (track != 0 && timescale != 0) timescales[track] = timescale;
    });
  });
  return timescales;
}

// Adds `shift` to the 32- or 64-bit time at `at` of the full box at `box`.
void Shift(std::string& bytes, std::size_t box, std::size_t at, std::uint64_t shift) {
  const int width = Version(bytes, box) == 1 ? 8 : 4;
  Write(bytes, at, width, Read(bytes, at, width) + shift);
}

}  // namespace

LiveChannel::LiveChannel(const std::filesystem::path& folder) {
  std::ifstream playlist(folder / "index.m3u8");
  for (std::string line; std::getline(playlist, line);) {
    if (line.rfind("#EXTINF:", 0) == 0) segment_seconds_ = std::atof(line.c_str() + 8);
    if (line.empty() || line[0] == '#') continue;
    transport_stream_ = line.size() > 3 && line.compare(line.size() - 3, 3, ".ts") == 0;
    segments_.push_back(ReadFile(folder / line));
    if (segments_.back().empty()) segments_.pop_back();
  }
  if (!transport_stream_) {
    init_ = ReadFile(folder / "init.mp4");
    timescales_ = Timescales(init_);
    if (timescales_.empty()) segments_.clear();
  }
  if (segment_seconds_ <= 0) segments_.clear();
}

std::int64_t LiveChannel::NewestAt(double elapsed_seconds) const {
  return kWindow - 1 + static_cast<std::int64_t>(elapsed_seconds / segment_seconds_);
}

std::string LiveChannel::Playlist(std::int64_t newest) const {
  const std::int64_t oldest = std::max<std::int64_t>(0, newest - kWindow + 1);
  const auto count = static_cast<std::int64_t>(std::max<std::size_t>(1, segments_.size()));
  std::ostringstream text;
  text << "#EXTM3U\n#EXT-X-VERSION:" << (transport_stream_ ? 3 : 7)
       << "\n#EXT-X-TARGETDURATION:" << std::ceil(segment_seconds_)
       << "\n#EXT-X-MEDIA-SEQUENCE:" << oldest << "\n";
  if (transport_stream_) {
    // The rounds begun before the oldest segment named.
    text << "#EXT-X-DISCONTINUITY-SEQUENCE:" << (oldest + count - 1) / count << "\n";
  } else {
    text << "#EXT-X-MAP:URI=\"init.mp4\"\n";
  }
  for (std::int64_t sequence = oldest; sequence <= newest; ++sequence) {
    if (transport_stream_ && sequence % count == 0 && sequence != oldest) {
      text << "#EXT-X-DISCONTINUITY\n";
    }
    text << "#EXTINF:" << segment_seconds_ << ",\ns" << sequence
         << (transport_stream_ ? ".ts\n" : ".m4s\n");
  }
  return text.str();
}

std::optional<std::string> LiveChannel::Segment(std::int64_t sequence, std::int64_t newest) const {
  if (Empty() || sequence < 0 || sequence > newest || sequence < newest - kWindow - kKeptBehind) {
    return std::nullopt;
  }
  const auto count = static_cast<std::int64_t>(segments_.size());
  std::string bytes = segments_[sequence % count];
  if (transport_stream_) return bytes;
  const double round_seconds = static_cast<double>(sequence / count) * count * segment_seconds_;
  const auto shift = [&](std::uint64_t timescale) {
    return static_cast<std::uint64_t>(std::llround(round_seconds * timescale));
  };
  ForEachBox(bytes, 0, bytes.size(),
             [&](std::string_view type, std::size_t start, std::size_t end) {
               if (type == "sidx")
                 Shift(bytes, start, start + 20, shift(Read(bytes, start + 16, 4)));
               if (type != "moof") return;
               ForEachBox(bytes, start + 8, end,
                          [&](std::string_view part, std::size_t from, std::size_t to) {
                            if (part == "mfhd") Write(bytes, from + 12, 4, sequence + 1);
                            if (part != "traf") return;
                            std::uint32_t track = 0;
                            ForEachBox(bytes, from + 8, to,
                                       [&](std::string_view box, std::size_t at, std::size_t) {
                                         if (box == "tfhd") track = Read(bytes, at + 12, 4);
                                         const auto timescale = timescales_.find(track);
                                         if (box == "tfdt" && timescale != timescales_.end()) {
                                           Shift(bytes, at, at + 12, shift(timescale->second));
                                         }
                                       });
                          });
             });
  return bytes;
}

}  // namespace talvo::demo
