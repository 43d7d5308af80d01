#include "demo/endless_station.h"

#include <cstdint>

namespace talvo::demo {
namespace {

struct Frame {
  std::size_t bytes = 0;
  double seconds = 0;
};

// An MPEG-1, -2 or -2.5 Layer III frame header at `at`.
Frame Mp3Frame(const unsigned char* at) {
  if (at[0] != 0xFF || (at[1] & 0xE0) != 0xE0 || ((at[1] >> 1) & 3) != 1) return {};
  static const int kMpeg1Kbps[] = {0,   32,  40,  48,  56,  64,  80, 96,
                                   112, 128, 160, 192, 224, 256, 320};
  static const int kMpeg2Kbps[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
  static const int kMpeg1Rates[] = {44100, 48000, 32000};
  const int version = (at[1] >> 3) & 3;  // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
  const int bitrate_index = at[2] >> 4;
  const int rate_index = (at[2] >> 2) & 3;
  if (version == 1 || bitrate_index == 0 || bitrate_index == 15 || rate_index == 3) return {};
  const bool mpeg1 = version == 3;
  const int kbps = (mpeg1 ? kMpeg1Kbps : kMpeg2Kbps)[bitrate_index];
  const int rate = kMpeg1Rates[rate_index] / (mpeg1 ? 1 : version == 2 ? 2 : 4);
  const int samples = mpeg1 ? 1152 : 576;
  const std::size_t bytes = samples / 8 * kbps * 1000 / rate + ((at[2] >> 1) & 1);
  return {bytes, static_cast<double>(samples) / rate};
}

// An ADTS header (AAC) at `at`.
Frame AdtsFrame(const unsigned char* at) {
  if (at[0] != 0xFF || (at[1] & 0xF6) != 0xF0) return {};
  static const int kRates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                               22050, 16000, 12000, 11025, 8000,  7350};
  const int rate_index = (at[2] >> 2) & 0xF;
  if (rate_index >= 13) return {};
  const std::size_t bytes = (at[3] & 3) << 11 | at[4] << 3 | at[5] >> 5;
  const int blocks = (at[6] & 3) + 1;
  return {bytes, 1024.0 * blocks / kRates[rate_index]};
}

}  // namespace

double AudioSeconds(const std::string& frames) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(frames.data());
  double seconds = 0;
  for (std::size_t at = 0; at + 7 <= frames.size();) {
    Frame frame = AdtsFrame(bytes + at);
    if (frame.bytes < 7) frame = Mp3Frame(bytes + at);
    if (frame.bytes < 7 || at + frame.bytes > frames.size()) break;
    seconds += frame.seconds;
    at += frame.bytes;
  }
  return seconds;
}

}  // namespace talvo::demo
