#include "platform/web/page_safety.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "core/utf.h"

namespace talvo {
namespace {

constexpr std::size_t kMaxNameBytes = 200;

bool ContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string SafeDownloadName(std::string_view suggested) {
  const std::size_t slash = suggested.find_last_of("/\\");
  if (slash != std::string_view::npos) suggested.remove_prefix(slash + 1);
  std::string name;
  for (const char c : suggested) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) continue;
    // A leading dot hides the file, and "." or ".." name a folder.
    if (name.empty() && (c == '.' || c == ' ')) continue;
    name += c;
  }
  if (name.size() > kMaxNameBytes) {
    std::size_t cut = kMaxNameBytes;
    while (cut > 0 && ContinuationByte(name[cut])) --cut;
    name.resize(cut);
  }
  return name.empty() ? "download" : name;
}

std::string DispositionFileName(std::string_view header) {
  const auto value_of = [&](std::string_view key) -> std::optional<std::string> {
    for (std::size_t at = 0; (at = header.find(key, at)) != std::string_view::npos;
         at += key.size()) {
      if (at > 0 && header[at - 1] != ';' && header[at - 1] != ' ') continue;
      std::string_view rest = header.substr(at + key.size());
      if (!rest.empty() && rest.front() == '"') {
        rest.remove_prefix(1);
        return std::string(rest.substr(0, rest.find('"')));
      }
      return std::string(rest.substr(0, rest.find(';')));
    }
    return std::nullopt;
  };
  if (const auto encoded = value_of("filename*=")) {
    // charset'language'percent-encoded bytes; a "%" without two hex digits stays as it is.
    const std::size_t first = encoded->find('\'');
    const std::size_t second = first == std::string::npos ? first : encoded->find('\'', first + 1);
    const std::string_view bytes =
        std::string_view(*encoded).substr(second == std::string::npos ? 0 : second + 1);
    return PercentDecoded(bytes, false).value_or(std::string());
  }
  return value_of("filename=").value_or("");
}

bool ReloadBudget::Take(Clock::time_point now) {
  while (!taken_.empty() && now - taken_.front() >= window_) taken_.pop_front();
  if (static_cast<int>(taken_.size()) >= limit_) return false;
  taken_.push_back(now);
  return true;
}

}  // namespace talvo
