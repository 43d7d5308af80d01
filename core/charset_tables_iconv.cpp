#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <string>

#include "core/charset_tables.h"
#include "core/debug_trace.h"
#include "core/utf.h"

namespace talvo::charset {
namespace {

constexpr const char* kUtf32Native =
    std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE";

// What iconv makes of `bytes` as a whole: its code points, or nothing when it does not take
// every byte.
std::u32string Convert(iconv_t cd, std::string bytes) {
  char32_t out[4] = {};
  char* in = bytes.data();
  std::size_t in_left = bytes.size();
  char* dst = reinterpret_cast<char*>(out);
  std::size_t dst_left = sizeof out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  const bool taken = iconv(cd, &in, &in_left, &dst, &dst_left) != static_cast<std::size_t>(-1) &&
                     in_left == 0 &&
                     iconv(cd, nullptr, nullptr, &dst, &dst_left) != static_cast<std::size_t>(-1);
  if (!taken) return {};
  return std::u32string(out, (sizeof out - dst_left) / sizeof(char32_t));
}

// One or two code points as at most two UTF-16 units; false when they do not fit.
bool AsTwoUnits(const std::u32string& points, char16_t* units) {
  if (points.size() == 1 && points[0] >= 0x10000 && points[0] <= 0x10FFFF) {
    std::u16string pair;
    AppendCodePoint(pair, points[0]);
    units[0] = pair[0];
    units[1] = pair[1];
    return true;
  }
  if (points.empty() || points.size() > 2) return false;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (points[i] >= 0x10000 || IsSurrogate(points[i])) return false;
    units[i] = static_cast<char16_t>(points[i]);
  }
  return true;
}

// The system's iconv lacks the converter (a minimal install, a container without gconv modules):
// its text then reads as U+FFFD and a name sent in it goes as "?", and the log says why.
void NoConverter(const char* name) {
  DebugTrace("charset", std::string("no ") + name + " converter in this system's iconv (" +
                            std::strerror(errno) + "): its text reads as U+FFFD, sent as ?");
}

}  // namespace

MultiByteTables ConverterTables(const char* name, bool double_byte) {
  MultiByteTables tables;
  if (double_byte) tables.pairs.assign(kPairs * 2, 0);
  iconv_t cd = iconv_open(kUtf32Native, name);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    NoConverter(name);
    return tables;
  }
  for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
    const std::u32string point = Convert(cd, std::string(1, static_cast<char>(byte)));
    if (point.size() == 1 && point[0] < 0x10000 && !IsSurrogate(point[0])) {
      tables.single[byte - 0x80] = static_cast<char16_t>(point[0]);
    }
  }
  for (unsigned lead = 0x81; double_byte && lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
      char16_t units[2] = {};
      if (AsTwoUnits(Convert(cd, pair), units)) {
        tables.pairs[PairIndex(lead, trail) * 2] = units[0];
        tables.pairs[PairIndex(lead, trail) * 2 + 1] = units[1];
      }
    }
  }
  iconv_close(cd);
  return tables;
}

namespace {

// GB18030's four-byte characters of the BMP end at pointer 39419 (U+FFFF); the margin would show a
// converter that knew more. The supplementary planes follow from 189000 by rule.
std::vector<FourByteRun> ReadFourByteRuns() {
  std::vector<FourByteRun> runs;
  iconv_t cd = iconv_open(kUtf32Native, "GB18030");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    NoConverter("GB18030");
    return runs;
  }
  for (std::uint32_t pointer = 0; pointer < 40000; ++pointer) {
    const std::u32string point = Convert(cd, Gb18030FourBytes(pointer));
    if (point.size() != 1 || point[0] >= 0x10000 || IsSurrogate(point[0])) continue;
    if (!runs.empty() && runs.back().pointer + runs.back().length == pointer &&
        runs.back().first + runs.back().length == point[0]) {
      ++runs.back().length;
    } else {
      runs.push_back({pointer, 1, point[0]});
    }
  }
  iconv_close(cd);
  return runs;
}

}  // namespace

const std::vector<FourByteRun>& Gb18030FourByteRuns() {
  static const std::vector<FourByteRun> runs = ReadFourByteRuns();
  return runs;
}

const MultiByteTables& Gb18030Tables() {
  static const MultiByteTables tables = ConverterTables("GB18030", true);
  return tables;
}

const MultiByteTables& Big5HkscsTables() {
  static const MultiByteTables tables = ConverterTables("BIG5-HKSCS", true);
  return tables;
}

const std::array<char16_t, 128>& Windows1252Table() {
  static const std::array<char16_t, 128> table = ConverterTables("CP1252", false).single;
  return table;
}

}  // namespace talvo::charset
