#include "core/charset.h"

#include <iconv.h>

#include <array>
#include <bit>
#include <cerrno>
#include <memory>

#include "core/debug_trace.h"
#include "core/utf.h"

namespace talvo {
namespace {

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
      {"gb2312", "GB18030"},          {"gbk", "GB18030"},         {"x-gbk", "GB18030"},
      {"chinese", "GB18030"},         {"csgb2312", "GB18030"},    {"csiso58gb231280", "GB18030"},
      {"gb_2312", "GB18030"},         {"gb_2312-80", "GB18030"},  {"iso-ir-58", "GB18030"},
      {"gb18030", "GB18030"},         {"utf-8", "UTF-8"},         {"utf8", "UTF-8"},
      {"unicode-1-1-utf-8", "UTF-8"}, {"big5", "BIG5-HKSCS"},     {"big5-hkscs", "BIG5-HKSCS"},
      {"cn-big5", "BIG5-HKSCS"},      {"csbig5", "BIG5-HKSCS"},   {"x-x-big5", "BIG5-HKSCS"},
      {"us-ascii", "CP1252"},         {"ascii", "CP1252"},        {"iso-8859-1", "CP1252"},
      {"latin1", "CP1252"},           {"windows-1252", "CP1252"},
  };
  const std::string label = AsciiLowerTrimmed(charset);
  for (const auto& entry : kLabels) {
    if (label == entry.label) return entry.iconv_name;
  }
  return nullptr;
}

constexpr const char* kUtf16Native =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// Converts one run with iconv, straight into `out`. A byte that starts no valid character, also
// one cut off by the end, becomes one U+FFFD and decoding resumes after it, so an ASCII byte
// that follows a broken lead byte survives.
void ConvertRun(iconv_t cd, std::string_view bytes, std::u16string& out) {
  std::size_t used = out.size();
  // No supported charset yields more UTF-16 units than it has bytes; the margin covers a final
  // replacement character.
  out.resize(used + bytes.size() + 2);
  char* in = const_cast<char*>(bytes.data());
  std::size_t in_left = bytes.size();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  while (in_left > 0) {
    char* dst = reinterpret_cast<char*>(out.data() + used);
    std::size_t dst_left = (out.size() - used) * sizeof(char16_t);
    const std::size_t rc = iconv(cd, &in, &in_left, &dst, &dst_left);
    const int error = errno;
    used = out.size() - dst_left / sizeof(char16_t);
    if (rc != static_cast<std::size_t>(-1)) break;
    if (error == E2BIG || out.size() - used < 2) {
      out.resize(out.size() + in_left + 16);
      if (error == E2BIG) continue;
    }
    if (error != EILSEQ && error != EINVAL) break;
    out[used++] = u'\uFFFD';
    ++in;
    --in_left;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  out.resize(used);
}

// Two-byte GBK characters, looked up instead of converted one iconv call at a time: the table
// is filled once from iconv itself, so both paths always agree. 0 marks a pair left to iconv.
constexpr int kTrailCount = 0xFF - 0x40;
using GbkPairTable = std::array<char16_t, 0x7E * kTrailCount>;

const GbkPairTable& GbkPairs() {
  static const std::unique_ptr<GbkPairTable> table = [] {
    auto pairs = std::make_unique<GbkPairTable>();
    pairs->fill(0);
    iconv_t cd = iconv_open(kUtf16Native, "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1)) return pairs;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        char16_t unit[2] = {};
        char* src = in;
        char* dst = reinterpret_cast<char*>(unit);
        std::size_t src_left = 2;
        std::size_t dst_left = sizeof unit;
        if (iconv(cd, &src, &src_left, &dst, &dst_left) == 0 && src_left == 0 &&
            dst_left == sizeof(char16_t) && (unit[0] < 0xD800 || unit[0] > 0xDFFF)) {
          (*pairs)[(lead - 0x81) * kTrailCount + (trail - 0x40)] = unit[0];
        }
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
      }
    }
    iconv_close(cd);
    return pairs;
  }();
  return *table;
}

constexpr const char* kUtf32Native =
    std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE";

// Decodes the one character at `i` with iconv and returns the bytes it took. A byte that starts
// no valid character, also one cut off by the end of the body, is one U+FFFD and is skipped
// alone, so the ASCII bytes after it survive.
std::size_t ConvertOne(iconv_t to_utf32, std::string_view body, std::size_t i,
                       std::u16string& out) {
  char* in = const_cast<char*>(body.data() + i);
  std::size_t in_left = body.size() - i;
  char32_t c = 0;
  char* dst = reinterpret_cast<char*>(&c);
  std::size_t dst_left = sizeof c;  // room for exactly one character
  iconv(to_utf32, &in, &in_left, &dst, &dst_left);
  iconv(to_utf32, nullptr, nullptr, nullptr, nullptr);
  const std::size_t taken = body.size() - i - in_left;
  if (dst_left == 0 && taken > 0) {
    AppendCodePoint(out, c);
    return taken;
  }
  out.push_back(u'\uFFFD');
  return 1;
}

// In GB18030 a byte below 0x80 at a character boundary is always ASCII. ASCII runs and
// two-byte characters are decoded here; four-byte and invalid sequences, which are rare, go to
// iconv one character at a time.
void DecodeGb18030(std::string_view body, std::u16string& out) {
  iconv_t to_utf32 = iconv_open(kUtf32Native, "GB18030");
  if (to_utf32 == reinterpret_cast<iconv_t>(-1)) return;
  const GbkPairTable& pairs = GbkPairs();
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(body[i]); };
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
    const unsigned trail = i + 1 < body.size() ? byte(i + 1) : 0;
    if (lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE) {
      const char16_t unit = pairs[(lead - 0x81) * kTrailCount + (trail - 0x40)];
      if (unit != 0) {
        out.push_back(unit);
        i += 2;
        continue;
      }
    }
    i += ConvertOne(to_utf32, body, i, out);
  }
  iconv_close(to_utf32);
}

}  // namespace

std::u16string DecodeBytes(std::string_view body, std::u16string_view charset) {
  const char* source = IconvNameFor(charset);
  if (source == nullptr) return {};
  if (std::string_view(source) == "UTF-8") return Utf8ToUtf16(body);

  std::u16string out;
  if (std::string_view(source) == "GB18030") {
    try {
      out.reserve(body.size());
      DecodeGb18030(body, out);
    } catch (...) {
      DebugTrace("charset", "a GB18030 page could not be decoded");
      out.clear();
    }
    return out;
  }
  iconv_t cd = iconv_open(kUtf16Native, source);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    DebugTrace("charset", std::string("no converter from ") + source);
    return {};
  }
  try {
    out.reserve(body.size());
    ConvertRun(cd, body, out);
  } catch (...) {
    DebugTrace("charset", std::string("a page in ") + source + " could not be decoded");
    out.clear();
  }
  iconv_close(cd);
  return out;
}

std::string EncodeGbk(std::u16string_view text) {
  iconv_t cd = iconv_open("GB18030", kUtf16Native);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out(text.size() * 4 + 4, '\0');
  char* in = reinterpret_cast<char*>(const_cast<char16_t*>(text.data()));
  std::size_t in_left = text.size() * sizeof(char16_t);
  char* dst = out.data();
  std::size_t dst_left = out.size();
  while (in_left > 0) {
    if (iconv(cd, &in, &in_left, &dst, &dst_left) != static_cast<std::size_t>(-1)) break;
    // An unpaired surrogate has no encoding: it becomes "?" and the rest goes on.
    in += sizeof(char16_t);
    in_left -= sizeof(char16_t);
    *dst++ = '?';
    --dst_left;
  }
  iconv_close(cd);
  out.resize(out.size() - dst_left);
  return out;
}

void PrepareCharsets() { GbkPairs(); }

}  // namespace talvo
