// Any talvo.ini and any real.she: parsed without a crash, limits stay positive, and a skin is
// either none or colours in range.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/config.h"
#include "platform/skin.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const talvo::Config config = talvo::ParseConfig(text);
  if (config.connect_timeout.count() <= 0 || config.request_timeout.count() <= 0) std::abort();
  if (const auto scheme = talvo::ParseSkinFile(text)) {
    for (const std::uint32_t colour :
         {scheme->window, scheme->text, scheme->button, scheme->button_text}) {
      if (colour > 0xFFFFFF) std::abort();
    }
  }
  return 0;
}
