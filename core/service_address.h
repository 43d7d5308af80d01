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

}  // namespace talvo
