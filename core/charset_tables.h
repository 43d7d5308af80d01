// The tables the character-set decoders and the GB18030 encoder read, made from the system's
// own converter: on Linux iconv is asked at first use; the Windows build compiles in the same
// tables, made from iconv on the machine that builds it (Windows has no GB18030 converter under
// Wine, and its code page 936 is GBK, not GB18030). Either way the rules are iconv's.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace talvo::charset {

// Two-byte characters: lead bytes 0x81 to 0xFE, trail bytes 0x40 to 0xFE.
inline constexpr int kTrails = 0xFF - 0x40;
inline constexpr std::size_t kPairs = (0xFF - 0x81) * kTrails;
inline constexpr std::size_t PairIndex(unsigned lead, unsigned trail) {
  return (lead - 0x81) * kTrails + (trail - 0x40);
}

// GB18030's four-byte characters of the Basic Multilingual Plane: a run of consecutive pointers
// (the four bytes read as one number) that stand for consecutive code points.
struct FourByteRun {
  std::uint32_t pointer;
  std::uint32_t length;
  std::uint32_t first;
};

// The four bytes of a GB18030 pointer.
inline std::string Gb18030FourBytes(std::uint32_t pointer) {
  return {static_cast<char>(0x81 + pointer / 12600), static_cast<char>(0x30 + pointer / 1260 % 10),
          static_cast<char>(0x81 + pointer / 10 % 126), static_cast<char>(0x30 + pointer % 10)};
}

struct MultiByteTables {
  std::array<char16_t, 128> single{};  // bytes 0x80 to 0xFF that are a character alone; 0: none
  std::vector<char16_t> pairs;         // two UTF-16 units a pair, the second 0 when one is enough
};

// The tables of the system's converter `name` (iconv builds; the tables above are made from it):
// empty, and a line in the log, where the system has no such converter.
MultiByteTables ConverterTables(const char* name, bool double_byte);

const MultiByteTables& Gb18030Tables();
// Asked for apart: four-byte characters are rare, and reading them costs more than the rest.
const std::vector<FourByteRun>& Gb18030FourByteRuns();
const MultiByteTables& Big5HkscsTables();
// Bytes 0x80 to 0xFF of windows-1252; 0: none.
const std::array<char16_t, 128>& Windows1252Table();

}  // namespace talvo::charset
