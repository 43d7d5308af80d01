// The program's UTF-16 text to and from wxString. Never build a wxString from a narrow literal:
// that goes through the C locale and turns Chinese text into nothing.
#pragma once

#include <wx/string.h>

#include <string>
#include <string_view>

#include "core/utf.h"

namespace talvo {

inline wxString ToWx(std::u16string_view text) {
  const std::string utf8 = Utf16ToUtf8(text);
  return wxString::FromUTF8(utf8.data(), utf8.size());
}

inline std::u16string FromWx(const wxString& text) {
  const wxScopedCharBuffer utf8 = text.utf8_str();
  return Utf8ToUtf16(std::string_view(utf8.data(), utf8.length()));
}

}  // namespace talvo
