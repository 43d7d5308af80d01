// What the client keeps from its user, said to its maintainers: with TALVO_DEBUG=1 in the
// environment at start, each failure it swallows (a fetch and its cause, a file it could not
// read or write, a page process that ended, a recovery) is one line on stderr. Without it the
// client stays silent.
#pragma once

#include <string_view>

namespace talvo {

bool DebugTraceOn();

// One line: "talvo debug: <area>: <what>". Safe from any thread; costs nothing when off.
void DebugTrace(std::string_view area, std::string_view what);

}  // namespace talvo
