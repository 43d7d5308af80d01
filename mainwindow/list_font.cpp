#include "mainwindow/list_font.h"

#include <wx/fontenum.h>

namespace talvo {

wxFont ListFont() {
  static const wchar_t* const kFaces[] = {L"宋体",
                                          L"SimSun",
                                          L"NSimSun",
                                          L"Noto Serif CJK SC",
                                          L"Noto Sans CJK SC",
                                          L"WenQuanYi Micro Hei",
                                          L"WenQuanYi Zen Hei",
                                          L"AR PL UMing CN"};
  wxFontInfo info(10.5);
  info.Encoding(wxFONTENCODING_GB2312);
  for (const wchar_t* face : kFaces) {
    if (wxFontEnumerator::IsValidFacename(face)) {
      info.FaceName(face);
      break;
    }
  }
  return wxFont(info);
}

}  // namespace talvo
