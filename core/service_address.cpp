#include "core/service_address.h"

#include <array>

#include "core/charset.h"
#include "core/utf.h"

namespace talvo {
namespace {

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (AsciiLower(text[i]) != prefix[i]) return false;
  }
  return true;
}

bool IsUnreserved(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
         c == u'-' || c == u'.' || c == u'_' || c == u'~';
}

}  // namespace

std::u16string EncodeQueryValue(std::u16string_view value) {
  const std::string encoded = PercentEncoded(
      EncodeGbk(value), [](unsigned char byte) { return byte >= 0x80 || !IsUnreserved(byte); });
  return std::u16string(encoded.begin(), encoded.end());
}

std::u16string ServiceUrl(std::u16string_view host, std::u16string_view path,
                          std::u16string_view query) {
  std::u16string url;
  if (StartsWithNoCase(host, u"http://") || StartsWithNoCase(host, u"https://")) {
    while (!host.empty() && host.back() == u'/') host.remove_suffix(1);
    url = host;
  } else {
    url = u"http://";
    url += host;
  }
  url += path;
  if (!query.empty()) {
    url += u'?';
    url += query;
  }
  return url;
}

bool IsWebAddress(std::u16string_view address) {
  return StartsWithNoCase(address, u"http://") || StartsWithNoCase(address, u"https://");
}

std::u16string LoginAddress(std::u16string_view host, std::u16string_view user,
                            std::u16string_view password) {
  return ServiceUrl(host, u"/user/denglu.asp",
                    u"yh=" + EncodeQueryValue(user) + u"&pw=" + EncodeQueryValue(password));
}

std::u16string VerifyAddress(std::u16string_view host, std::u16string_view user) {
  return AccountPageAddress(host, u"/user/yanzhen.asp", user);
}

std::u16string GuestVerifyAddress(std::u16string_view host) {
  return ServiceUrl(host, u"/user/yanzhen.asp", u"yh=guest");
}

std::u16string RegistrationAddress(std::u16string_view host) {
  return ServiceUrl(host, u"/user/reg.asp");
}

std::u16string AccountPageAddress(std::u16string_view host, std::u16string_view path,
                                  std::u16string_view user) {
  return ServiceUrl(host, path, u"yh=" + EncodeQueryValue(user));
}

}  // namespace talvo
