#include "tests/support/gbk.h"

#include <iconv.h>

#include <stdexcept>

namespace talvo::testing {

std::string ToGbk(std::u16string_view text) {
  iconv_t cd = iconv_open("GB18030", "UTF-16LE");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no GB18030 in iconv");
  std::string in_bytes;
  for (const char16_t c : text) {
    in_bytes.push_back(static_cast<char>(c & 0xFF));
    in_bytes.push_back(static_cast<char>(c >> 8));
  }
  std::string out(text.size() * 4 + 4, '\0');
  char* in = in_bytes.data();
  std::size_t in_left = in_bytes.size();
  char* dst = out.data();
  std::size_t dst_left = out.size();
  const std::size_t rc = iconv(cd, &in, &in_left, &dst, &dst_left);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1)) throw std::runtime_error("text has no GBK form");
  out.resize(out.size() - dst_left);
  return out;
}

}  // namespace talvo::testing
