#include "platform/single_instance.h"

#include <cstdio>

#include "core/utf.h"

namespace talvo {

std::string AppFolderInstanceName(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::path same = std::filesystem::weakly_canonical(folder, error);
  if (error) same = folder.lexically_normal();
  std::u16string spelled = same.generic_u16string();
  while (spelled.size() > 1 && spelled.back() == u'/') spelled.pop_back();
  // FNV-1a: stable from one build to the next, which std::hash need not be.
  std::uint64_t hash = 14695981039346656037ull;
  for (const unsigned char byte : Utf16ToUtf8(spelled)) {
    hash = (hash ^ byte) * 1099511628211ull;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return std::string("talvo-") + hex;
}

}  // namespace talvo
