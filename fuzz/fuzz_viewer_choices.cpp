// Any file gives the viewer's choices or none; choices that were read are written and read back
// the same (the file is replaced whole at every change), with the volume in its steps and each
// favourite once per account.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "mainwindow/viewer_memory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto choices =
      talvo::ReadViewerChoices(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!choices) return 0;
  if (choices->volume < 0 || choices->volume > 100 || choices->volume % talvo::kVolumeStep != 0) {
    std::abort();
  }
  for (std::size_t i = 0; i < choices->favourites.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (choices->favourites[i].account == choices->favourites[j].account &&
          choices->favourites[i].address == choices->favourites[j].address) {
        std::abort();
      }
    }
  }
  if (talvo::ReadViewerChoices(talvo::WriteViewerChoices(*choices)) != choices) std::abort();
  return 0;
}
