// Options set on a transfer, every result kept: the first one refused (a libcurl built without a
// protocol, a proxy address it cannot take) fails the transfer instead of letting it run otherwise
// than asked.
#pragma once

#include <curl/curl.h>

namespace talvo {

class CurlOptions {
 public:
  explicit CurlOptions(CURL* curl) : curl_(curl) {}
  template <typename Value>
  CurlOptions& Set(CURLoption option, Value value) {
    if (refused_ == CURLE_OK) refused_ = curl_easy_setopt(curl_, option, value);
    return *this;
  }
  // CURLE_OK when every option was taken; else what refused the first that was not.
  CURLcode Refused() const { return refused_; }

 private:
  CURL* curl_;
  CURLcode refused_ = CURLE_OK;
};

}  // namespace talvo
