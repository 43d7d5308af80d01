// DecodeText never fails and never grows its body; EncodeText always round-trips.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/scrambler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string text(size / 2, u'\0');
  std::memcpy(text.data(), data, text.size() * 2);

  const std::u16string decoded = talvo::DecodeText(text);
  if (decoded.size() > (text.size() > 10 ? text.size() - 10 : 0)) std::abort();

  talvo::ScrambleRandom random(size);
  const std::u16string form = talvo::EncodeText(text, random);
  if (form.size() != text.size() + 10 || talvo::DecodeText(form) != text) std::abort();
  return 0;
}
