// The remembered account: two scrambled lines (user name, then password), each ending in CR LF,
// stored as core/stored_file says, in "talvoq.dat" in the application folder.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/stored_file.h"

namespace talvo {

struct StoredAccount {
  std::u16string user;
  std::u16string password;
};

std::filesystem::path CredentialFilePath(const std::filesystem::path& app_folder);

// Remembers the pair when both are non-empty; otherwise leaves the file as it is. The file is
// replaced atomically and readable by its owner only; a failure keeps the old file and says why
// (kNone when saved or nothing was to be saved).
SaveTrouble WriteCredentialFile(const std::filesystem::path& app_folder, std::u16string_view user,
                                std::u16string_view password);

// The remembered pair, decoded. Missing or unreadable file: two empty texts, nothing created.
StoredAccount ReadCredentialFile(const std::filesystem::path& app_folder);

// The first two lines of the file's bytes; a line ends at CR LF, a lone CR or a lone LF, and
// only its first kMaxCredentialLineBytes bytes are kept.
inline constexpr std::size_t kMaxCredentialLineBytes = 4096;
struct CredentialLines {
  std::string first;
  std::string second;
};
CredentialLines SplitCredentialLines(std::string_view bytes);

}  // namespace talvo
