// The credential file's dealings with the system, one implementation a system: how its text is
// stored (UTF-8 on Linux; the system's ANSI code page on Windows, as the files users already
// have were written there), how it is replaced without ever being seen half-written, and how its
// head is read.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace talvo {

std::string ToStoredText(std::u16string_view text);
std::u16string FromStoredText(std::string_view bytes);

// Writes `content` into `temp` (beside `target`, and locked against other writers of it while it
// is written), flushes it, and renames it over `target`. False, with the old file whole, on any
// failure; `why` then says what failed.
bool ReplaceFileWhole(const std::filesystem::path& temp, const std::filesystem::path& target,
                      std::string_view content, std::string& why);

// At most `limit` bytes from the start of the regular file at `path`. Nothing when there is no
// such file (`why` empty) or it cannot be read (`why` says so).
std::optional<std::string> ReadFileHead(const std::filesystem::path& path, std::size_t limit,
                                        std::string& why);

}  // namespace talvo
