// What the client keeps from its user, said to its maintainers: each failure it swallows (a fetch
// and its cause, a file it could not read or write, a page that could not load, a page process
// that ended) and each recovery is one line in talvo.log in the application folder, for whoever
// helps a viewer; with TALVO_DEBUG=1 in the environment at start, on stderr too.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace talvo {

bool DebugTraceOn();

// Past this size the log is renamed to talvo.log.1, replacing an older one, and a new one begins.
inline constexpr std::uintmax_t kTraceLogMaxBytes = 1 << 20;

// The file the lines go to from now on; none before. A file that cannot be written loses its
// lines and changes nothing else.
void SetTraceLog(const std::filesystem::path& file);

// One line: "talvo debug: <area>: <what>" on stderr, and "<local time> <area>: <what>" in the
// log, with the value of every "pw=" query parameter, a password, masked. Safe from any thread.
void DebugTrace(std::string_view area, std::string_view what);

}  // namespace talvo
