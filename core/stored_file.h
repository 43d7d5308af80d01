// The stored files' dealings with the system, one implementation a system: how the credential
// file's text is stored (UTF-8 on Linux; on Windows the system's ANSI code page, as the files
// users already have were written there, or UTF-8 after a byte order mark when the text does not
// fit that code page), how a file is replaced without ever being seen half-written, and how its
// head is read.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace talvo {

// A whole file's text as it is stored.
std::string ToStoredText(std::u16string_view text);
// Takes the UTF-8 byte order mark off the start of a file's bytes; true when it was there.
inline bool TakeUtf8Mark(std::string_view& bytes) {
  if (!bytes.starts_with("\xEF\xBB\xBF")) return false;
  bytes.remove_prefix(3);
  return true;
}
// Text from part of a file's bytes, the mark taken off: UTF-8 when the file was marked so.
std::u16string FromStoredText(std::string_view bytes, bool marked_utf8);

// Why a file could not be saved, as far as the viewer is told.
enum class SaveTrouble { kNone, kDiskFull, kNotAllowed, kNoFolder, kOther };
// The reason in a few Chinese words: "磁盘已满".
std::u16string SaveTroubleWords(SaveTrouble trouble);

// Writes `content` into `temp` (beside `target`, and locked against other writers of it while it
// is written), flushes it, and renames it over `target`. kNone when it is the file; on any
// failure the old file stays whole and `why` says what failed.
SaveTrouble ReplaceFileWhole(const std::filesystem::path& temp, const std::filesystem::path& target,
                             std::string_view content, std::string& why);

// At most `limit` bytes from the start of the regular file at `path`. Nothing when there is no
// such file (`why` empty) or it cannot be read (`why` says so), a read that fails midway
// included: never the part read before the failure.
std::optional<std::string> ReadFileHead(const std::filesystem::path& path, std::size_t limit,
                                        std::string& why);

// The buffer a read of a file of `size` bytes starts with: its size and one byte more, where its
// end is seen, within `limit` (and at least one byte).
inline std::size_t HeadRoom(std::uintmax_t size, std::size_t limit) {
  return static_cast<std::size_t>(
      std::max<std::uintmax_t>(1, std::min<std::uintmax_t>(limit, size + 1)));
}

}  // namespace talvo
