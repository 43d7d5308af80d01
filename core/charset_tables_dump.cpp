// Prints the character-set tables, as iconv reads them on this machine, as C++ data for the
// Windows build (charset_tables_builtin.cpp). Built and run on the build machine.
#include <cstdio>

#include "core/charset_tables.h"

namespace {

template <typename Units>
void PrintUnits(const char* name, const Units& units) {
  std::printf("const char16_t %s[] = {", name);
  for (std::size_t i = 0; i < units.size(); ++i) {
    std::printf(i % 16 == 0 ? "\n0x%x," : "0x%x,", static_cast<unsigned>(units[i]));
  }
  std::printf("};\n");
}

}  // namespace

// usage: charset_tables_dump OUTPUT
int main(int argc, char** argv) {
  using namespace talvo::charset;
  if (argc != 2 || std::freopen(argv[1], "w", stdout) == nullptr) return 1;
  std::printf("// Made by charset_tables_dump from this machine's iconv. Do not edit.\n");
  PrintUnits("kGb18030Single", Gb18030Tables().single);
  PrintUnits("kGb18030Pairs", Gb18030Tables().pairs);
  PrintUnits("kBig5HkscsSingle", Big5HkscsTables().single);
  PrintUnits("kBig5HkscsPairs", Big5HkscsTables().pairs);
  PrintUnits("kWindows1252", Windows1252Table());
  std::printf("const FourByteRun kGb18030FourByteRuns[] = {");
  for (const FourByteRun& run : Gb18030FourByteRuns()) {
    std::printf("\n{%u, %u, 0x%x},", run.pointer, run.length, run.first);
  }
  std::printf("};\n");
  return 0;
}
