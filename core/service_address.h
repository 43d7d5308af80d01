// Addresses of the service: "http://" + host + path + "?" + query, and the checks applied to
// addresses that arrive in the service's own replies.
#pragma once

#include <string>
#include <string_view>

namespace talvo {

// A query value as the service reads it: GBK bytes, percent-encoded, unreserved ASCII kept, so
// "&", "=", "#", blanks and Chinese characters arrive intact.
std::u16string EncodeQueryValue(std::u16string_view value);

// "http://" + host + path, then "?" + query when the query is not empty. A host value that
// already starts with "http://" or "https://" keeps its scheme (and loses any trailing "/").
std::u16string ServiceUrl(std::u16string_view host, std::u16string_view path,
                          std::u16string_view query = {});

// True for an absolute "http://" or "https://" address (scheme in any case). Addresses from
// replies are followed only then: never javascript:, file: or anything else.
bool IsWebAddress(std::u16string_view address);

// The service's own pages and requests, every value percent-encoded as above.
// "/user/denglu.asp?yh=<user>&pw=<password>" on `host` (the primary host).
std::u16string LoginAddress(std::u16string_view host, std::u16string_view user,
                            std::u16string_view password);
// "/user/yanzhen.asp?yh=<user>" on `host` (the primary host, or the TV host at start-up).
std::u16string VerifyAddress(std::u16string_view host, std::u16string_view user);
// The same page for no account: "yh=guest".
std::u16string GuestVerifyAddress(std::u16string_view host);
// "/user/reg.asp".
std::u16string RegistrationAddress(std::u16string_view host);
// "<path>?yh=<user>" on `host`: a list, or the download page.
std::u16string AccountPageAddress(std::u16string_view host, std::u16string_view path,
                                  std::u16string_view user);

}  // namespace talvo
