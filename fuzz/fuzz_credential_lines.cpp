// Whatever a credential file holds, the reader keeps two bounded lines without line ends and
// decodes them without failing.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/credential_file.h"
#include "core/scrambler.h"
#include "core/utf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const talvo::CredentialLines lines = talvo::SplitCredentialLines(bytes);
  for (const std::string* line : {&lines.first, &lines.second}) {
    if (line->size() > talvo::kMaxCredentialLineBytes) std::abort();
    if (line->find_first_of("\r\n") != std::string::npos) std::abort();
    (void)talvo::DecodeText(talvo::Utf8ToUtf16(*line));
  }
  return 0;
}
