// The demo's endless stations, sent as an Icecast or SHOUTcast server sends a station: one
// reply without a length that never ends, paced at the stream's own rate after a first burst,
// here a short clip of audio frames sent round and round.
#pragma once

#include <string>

namespace talvo::demo {

// The seconds of audio in `frames`, MP3 frames or ADTS (AAC) frames, read from their headers
// up to the first byte that is not a frame's: 0 when there is none.
double AudioSeconds(const std::string& frames);

}  // namespace talvo::demo
