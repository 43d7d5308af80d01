#include "core/charset.h"

#include <algorithm>
#include <array>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/charset_tables.h"
#include "core/debug_trace.h"
#include "core/utf.h"

namespace talvo {
namespace {

using charset::FourByteRun;
using charset::MultiByteTables;
using charset::PairIndex;

std::string AsciiLowerTrimmed(std::u16string_view label) {
  const auto is_space = [](char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r';
  };
  while (!label.empty() && is_space(label.front())) label.remove_prefix(1);
  while (!label.empty() && is_space(label.back())) label.remove_suffix(1);
  std::string out;
  for (const char16_t c : label) {
    if (c > 0x7E) return {};
    out.push_back(static_cast<char>(AsciiLower(c)));
  }
  return out;
}

enum class Encoding { kUnknown, kGb18030, kUtf8, kBig5Hkscs, kWindows1252 };

// WHATWG encoding labels we accept. The gbk decoder of the Encoding Standard is the gb18030
// decoder, so every GBK label decodes as GB18030.
Encoding EncodingFor(std::u16string_view charset) {
  struct Entry {
    const char* label;
    Encoding encoding;
  };
  using enum Encoding;
  static constexpr Entry kLabels[] = {
      {"gb2312", kGb18030},
      {"gbk", kGb18030},
      {"x-gbk", kGb18030},
      {"chinese", kGb18030},
      {"csgb2312", kGb18030},
      {"csiso58gb231280", kGb18030},
      {"gb_2312", kGb18030},
      {"gb_2312-80", kGb18030},
      {"iso-ir-58", kGb18030},
      {"gb18030", kGb18030},
      {"utf-8", kUtf8},
      {"utf8", kUtf8},
      {"unicode-1-1-utf-8", kUtf8},
      {"big5", kBig5Hkscs},
      {"big5-hkscs", kBig5Hkscs},
      {"cn-big5", kBig5Hkscs},
      {"csbig5", kBig5Hkscs},
      {"x-x-big5", kBig5Hkscs},
      {"us-ascii", kWindows1252},
      {"ascii", kWindows1252},
      {"iso-8859-1", kWindows1252},
      {"latin1", kWindows1252},
      {"windows-1252", kWindows1252},
  };
  const std::string label = AsciiLowerTrimmed(charset);
  for (const auto& entry : kLabels) {
    if (label == entry.label) return entry.encoding;
  }
  return kUnknown;
}

bool IsDigit(unsigned byte) { return byte >= 0x30 && byte <= 0x39; }
bool IsLead(unsigned byte) { return byte >= 0x81 && byte <= 0xFE; }

// The code point of a GB18030 four-byte pointer, or 0 when it stands for none.
char32_t FourByteCharacter(std::uint32_t pointer) {
  if (pointer >= 189000 && pointer <= 189000 + 0xFFFFF) return 0x10000 + (pointer - 189000);
  const std::vector<FourByteRun>& runs = charset::Gb18030FourByteRuns();
  const auto run =
      std::upper_bound(runs.begin(), runs.end(), pointer,
                       [](std::uint32_t value, const FourByteRun& r) { return value < r.pointer; });
  if (run == runs.begin()) return 0;
  const FourByteRun& found = *std::prev(run);
  return pointer < found.pointer + found.length ? found.first + (pointer - found.pointer) : 0;
}

// ASCII runs, characters of one byte, of two bytes and (GB18030) of four. A byte that starts no
// valid character, also one cut off by the end of the body, is one U+FFFD and is skipped alone,
// so an ASCII byte after a broken lead byte survives.
void DecodeMultiByte(std::string_view body, const MultiByteTables& tables, bool gb18030,
                     std::u16string& out) {
  const auto byte = [&](std::size_t i) -> unsigned {
    return i < body.size() ? static_cast<unsigned char>(body[i]) : 0;
  };
  std::size_t i = 0;
  while (i < body.size()) {
    const unsigned lead = byte(i);
    if (lead < 0x80) {
      std::size_t end = i + 1;
      while (end < body.size() && byte(end) < 0x80) ++end;
      out.append(body.begin() + static_cast<std::ptrdiff_t>(i),
                 body.begin() + static_cast<std::ptrdiff_t>(end));
      i = end;
      continue;
    }
    if (const char16_t alone = tables.single[lead - 0x80]; alone != 0) {
      out.push_back(alone);
      ++i;
      continue;
    }
    const unsigned trail = byte(i + 1);
    if (gb18030 && IsLead(lead) && IsDigit(trail) && IsLead(byte(i + 2)) && IsDigit(byte(i + 3))) {
      const std::uint32_t pointer =
          (((lead - 0x81) * 10 + (trail - 0x30)) * 126 + (byte(i + 2) - 0x81)) * 10 +
          (byte(i + 3) - 0x30);
      if (const char32_t c = FourByteCharacter(pointer); c != 0) {
        AppendCodePoint(out, c);
        i += 4;
        continue;
      }
    } else if (IsLead(lead) && trail >= 0x40 && trail <= 0xFE) {
      const char16_t* units = &tables.pairs[PairIndex(lead, trail) * 2];
      if (units[0] != 0) {
        out.push_back(units[0]);
        if (units[1] != 0) out.push_back(units[1]);
        i += 2;
        continue;
      }
    }
    out.push_back(u'\uFFFD');
    ++i;
  }
}

void DecodeWindows1252(std::string_view body, std::u16string& out) {
  const std::array<char16_t, 128>& high = charset::Windows1252Table();
  for (const char c : body) {
    const auto b = static_cast<unsigned char>(c);
    out.push_back(b < 0x80 ? b : (high[b - 0x80] != 0 ? high[b - 0x80] : u'\uFFFD'));
  }
}

// For every BMP character that has a two-byte GB18030 form, that form (lead << 8 | trail).
const std::vector<std::uint16_t>& GbPairsByCharacter() {
  static const std::unique_ptr<std::vector<std::uint16_t>> table = [] {
    auto by_character = std::make_unique<std::vector<std::uint16_t>>(0x10000, 0);
    const MultiByteTables& tables = charset::Gb18030Tables();
    for (unsigned lead = 0xFE; lead >= 0x81; --lead) {
      for (unsigned trail = 0xFE; trail >= 0x40; --trail) {
        const char16_t* units = &tables.pairs[PairIndex(lead, trail) * 2];
        if (units[0] != 0 && units[1] == 0) {
          (*by_character)[units[0]] = static_cast<std::uint16_t>(lead << 8 | trail);
        }
      }
    }
    return by_character;
  }();
  return *table;
}

// The four-byte pointer of a BMP character, or nothing.
std::optional<std::uint32_t> FourBytePointer(char32_t c) {
  for (const FourByteRun& run : charset::Gb18030FourByteRuns()) {
    if (c >= run.first && c < run.first + run.length) return run.pointer + (c - run.first);
  }
  return std::nullopt;
}

}  // namespace

std::u16string DecodeBytes(std::string_view body, std::u16string_view charset) {
  const Encoding encoding = EncodingFor(charset);
  if (encoding == Encoding::kUnknown) return {};
  if (encoding == Encoding::kUtf8) return Utf8ToUtf16(body);
  std::u16string out;
  try {
    out.reserve(body.size());
    if (encoding == Encoding::kWindows1252) {
      DecodeWindows1252(body, out);
    } else {
      const bool gb18030 = encoding == Encoding::kGb18030;
      DecodeMultiByte(body, gb18030 ? charset::Gb18030Tables() : charset::Big5HkscsTables(),
                      gb18030, out);
    }
  } catch (const std::exception& error) {
    DebugTrace("charset", std::string("a page could not be decoded: ") + error.what());
    out.clear();
  }
  return out;
}

std::string EncodeGbk(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  const std::vector<std::uint16_t>& pairs = GbPairsByCharacter();
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = CodePointAt(text, i);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c >= 0x10000) {
      out += charset::Gb18030FourBytes(189000 + static_cast<std::uint32_t>(c - 0x10000));
    } else if (pairs[c] != 0) {
      out += static_cast<char>(pairs[c] >> 8);
      out += static_cast<char>(pairs[c] & 0xFF);
    } else if (const auto pointer = FourBytePointer(c)) {
      out += charset::Gb18030FourBytes(*pointer);
    } else {
      out += '?';  // an unpaired surrogate has no encoding
    }
  }
  return out;
}

void PrepareCharsets() {
  charset::Gb18030Tables();
  GbPairsByCharacter();
}

}  // namespace talvo
