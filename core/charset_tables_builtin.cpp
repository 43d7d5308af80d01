// The Windows build's tables: made from iconv on the build machine (charset_tables_dump), so
// that both systems decode and encode by the same rules.
#include <iterator>

#include "core/charset_tables.h"

namespace talvo::charset {
namespace {

#include "charset_tables_data.inc"

template <std::size_t N>
MultiByteTables Tables(const char16_t (&single)[128], const char16_t (&pairs)[N]) {
  MultiByteTables tables;
  std::copy(std::begin(single), std::end(single), tables.single.begin());
  tables.pairs.assign(std::begin(pairs), std::end(pairs));
  return tables;
}

}  // namespace

const MultiByteTables& Gb18030Tables() {
  static const MultiByteTables tables = Tables(kGb18030Single, kGb18030Pairs);
  return tables;
}

const std::vector<FourByteRun>& Gb18030FourByteRuns() {
  static const std::vector<FourByteRun> runs(std::begin(kGb18030FourByteRuns),
                                             std::end(kGb18030FourByteRuns));
  return runs;
}

const MultiByteTables& Big5HkscsTables() {
  static const MultiByteTables tables = Tables(kBig5HkscsSingle, kBig5HkscsPairs);
  return tables;
}

const std::array<char16_t, 128>& Windows1252Table() {
  static const std::array<char16_t, 128> table = [] {
    std::array<char16_t, 128> high{};
    std::copy(std::begin(kWindows1252), std::end(kWindows1252), high.begin());
    return high;
  }();
  return table;
}

}  // namespace talvo::charset
