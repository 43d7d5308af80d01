#include "core/credential_file.h"

#include <algorithm>
#include <exception>
#include <initializer_list>

#include "core/debug_trace.h"
#include "core/scrambler.h"
#include "core/stored_file.h"

namespace talvo {
namespace {

constexpr const char* kFileName = "talvoq.dat";
constexpr const char* kTempName = ".talvoq.dat.tmp";
// Real files are two short lines; a huge or foreign file must not stall start-up.
constexpr std::size_t kMaxReadBytes = 64 * 1024;

}  // namespace

std::filesystem::path CredentialFilePath(const std::filesystem::path& app_folder) {
  return app_folder / kFileName;
}

SaveTrouble WriteCredentialFile(const std::filesystem::path& app_folder, std::u16string_view user,
                                std::u16string_view password) {
  if (user.empty() || password.empty()) return SaveTrouble::kNone;
  try {
    // Stored as one text: when either line needs the UTF-8 mark, the file carries it once.
    const std::u16string text = EncodeText(user) + u"\r\n" + EncodeText(password) + u"\r\n";
    const std::filesystem::path temp = app_folder / kTempName;
    std::string why;
    const SaveTrouble trouble =
        ReplaceFileWhole(temp, CredentialFilePath(app_folder), ToStoredText(text), why);
    if (trouble != SaveTrouble::kNone) DebugTrace("credentials", temp.string() + ": " + why);
    return trouble;
  } catch (const std::exception& error) {
    // Remembering the account is a convenience; typing must never fail because of it.
    DebugTrace("credentials", std::string("the account was not remembered: ") + error.what());
  } catch (...) {
    DebugTrace("credentials", "the account was not remembered");
  }
  return SaveTrouble::kOther;
}
CredentialLines SplitCredentialLines(std::string_view bytes) {
  CredentialLines lines;
  std::size_t pos = 0;
  for (std::string* target : {&lines.first, &lines.second}) {
    if (pos >= bytes.size()) break;
    const std::size_t end = std::min(bytes.find_first_of("\r\n", pos), bytes.size());
    target->assign(bytes.substr(pos, std::min(end - pos, kMaxCredentialLineBytes)));
    pos = end;
    if (pos < bytes.size()) pos += bytes.compare(pos, 2, "\r\n") == 0 ? 2 : 1;
  }
  return lines;
}

StoredAccount ReadCredentialFile(const std::filesystem::path& app_folder) {
  StoredAccount account;
  try {
    const std::filesystem::path path = CredentialFilePath(app_folder);
    std::string why;
    const std::optional<std::string> bytes = ReadFileHead(path, kMaxReadBytes, why);
    if (!bytes) {
      if (!why.empty()) DebugTrace("credentials", path.string() + ": " + why);
      return account;
    }
    std::string_view body = *bytes;
    const bool marked_utf8 = TakeUtf8Mark(body);
    const CredentialLines lines = SplitCredentialLines(body);
    account.user = DecodeText(FromStoredText(lines.first, marked_utf8));
    account.password = DecodeText(FromStoredText(lines.second, marked_utf8));
  } catch (const std::exception& error) {
    DebugTrace("credentials",
               std::string("the remembered account could not be read: ") + error.what());
    account = {};
  } catch (...) {
    DebugTrace("credentials", "the remembered account could not be read");
    account = {};
  }
  return account;
}

}  // namespace talvo
