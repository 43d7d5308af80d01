// Prints the forms of a fixed sequence of EncodeText calls made by a fresh process.
#include <cstdio>

#include "core/scrambler.h"
#include "core/utf.h"

int main() {
  for (const char16_t* text : {u"viewer01", u"viewer01", u"p@ss,word", u""}) {
    std::printf("%s\n", talvo::Utf16ToUtf8(talvo::EncodeText(text)).c_str());
  }
  return 0;
}
