// Prints the Han readings, as ICU gives them on this machine, as C++ data for the Windows build
// (pinyin_tables_builtin.cpp). Built and run on the build machine.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "core/pinyin_tables.h"

// usage: pinyin_tables_dump OUTPUT
int main(int argc, char** argv) {
  using namespace talvo::pinyin;
  if (argc != 2 || std::freopen(argv[1], "w", stdout) == nullptr) return 1;
  std::printf("// Made by pinyin_tables_dump from this machine's ICU. Do not edit.\n");
  std::vector<std::string> readings{""};
  std::map<std::string, unsigned> numbers{{"", 0}};
  std::printf("const unsigned short kReadingNumbers[] = {");
  unsigned printed = 0;
  for (const auto& block : kHanBlocks) {
    for (char32_t c = block[0]; c <= block[1]; ++c) {
      const std::string reading = Reading(c);
      auto [at, added] = numbers.emplace(reading, static_cast<unsigned>(readings.size()));
      if (added) readings.push_back(reading);
      std::printf(printed++ % 24 == 0 ? "\n%u," : "%u,", at->second);
    }
  }
  std::printf("};\nconst char* const kReadings[] = {");
  for (const std::string& reading : readings) std::printf("\n\"%s\",", reading.c_str());
  std::printf("};\nconst ContextReading kContextReadings[] = {");
  for (const ContextReading& rule : ContextReadings()) {
    std::printf("\n{0x%x, 0x%x, \"%s\"},", static_cast<unsigned>(rule.character),
                static_cast<unsigned>(rule.next), rule.reading.c_str());
  }
  std::printf("};\n");
  return 0;
}
