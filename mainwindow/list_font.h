#pragma once

#include <wx/font.h>

namespace talvo {

// 宋体 10.5 pt for both list boxes; where it is not installed, the first CJK face that is, so
// channel names never show as boxes.
wxFont ListFont();

}  // namespace talvo
