#include "platform/web/page_outage.h"

#include <algorithm>

#include "core/utf.h"

namespace talvo {
namespace {

constexpr std::chrono::seconds kLongestWait{60};

}  // namespace

std::string_view OutageHeadline(LoadTrouble trouble) {
  switch (trouble) {
    case LoadTrouble::kRefused:
      return "无法连接到服务器";
    case LoadTrouble::kTimedOut:
      return "连接超时";
    case LoadTrouble::kHostNotFound:
      return "找不到服务器";
    case LoadTrouble::kNoRoute:
      return "网络不可用";
    case LoadTrouble::kReset:
      return "连接被中断";
    case LoadTrouble::kSecure:
      return "安全连接失败";
    case LoadTrouble::kNoAnswer:
      return "页面没有响应";
    case LoadTrouble::kOther:
      break;
  }
  return "无法载入此页面";
}

namespace {

// "host[:port]" of an absolute address; the whole text when it has no "//".
std::string_view HostOf(std::string_view address) {
  const std::size_t start = address.find("//");
  if (start == std::string_view::npos) return address;
  address.remove_prefix(start + 2);
  address = address.substr(0, address.find_first_of("/?#"));
  const std::size_t at = address.rfind('@');  // never show a user name or password
  return at == std::string_view::npos ? address : address.substr(at + 1);
}

}  // namespace

std::string OutageAnnouncement(LoadTrouble trouble) {
  return std::string(OutageHeadline(trouble)) + "，恢复后将自动重新载入";
}

std::string OutageNoticeHtml(LoadTrouble trouble, std::string_view address) {
  const std::string headline(OutageHeadline(trouble));
  // A failed secure connection is said plainly, and the only way on is the same check again.
  const std::string detail =
      trouble == LoadTrouble::kSecure ? "<p>服务器的证书无法验证，页面未显示。</p>" : std::string();
  // Centred in any view; a view as low as the service strip gets it on one or two lines.
  return "<!DOCTYPE html><html><head><meta charset='utf-8'><title>" + headline +
         "</title><style>html,body{height:100%;margin:0}body{display:flex;flex-direction:column;"
         "align-items:center;justify-content:center;flex-wrap:wrap;background:#000;color:#ccc;"
         "font:16px sans-serif;text-align:center}h1{font-size:20px;color:#fff}h1,p{margin:6px}"
         "a{padding:6px 18px;border:1px solid #888;color:#fff;text-decoration:none}"
         "@media (max-height:200px){body{flex-direction:row;font-size:13px}h1{font-size:14px}"
         "h1,p{margin:2px 8px}a{padding:2px 10px}}</style></head><body><h1>" +
         headline + "</h1><p>" + XmlEscaped(HostOf(address)) + "</p>" + detail + "<p>" +
         (trouble == LoadTrouble::kNoAnswer ? "稍后将自动重新载入" : "网络恢复后将自动重新载入") +
         "</p><a href=\"" + XmlEscaped(address) + "\">重新载入</a></body></html>";
}

std::chrono::seconds RetryRule::Failed(LoadTrouble trouble) {
  pending_ = true;
  trying_ = false;
  // Whether the host itself did not take the connection.
  host_missed_ = trouble == LoadTrouble::kRefused || trouble == LoadTrouble::kTimedOut ||
                 trouble == LoadTrouble::kHostNotFound || trouble == LoadTrouble::kNoRoute;
  failures_ = std::min(failures_ + 1, 6);
  return std::min(std::chrono::seconds(1 << failures_), kLongestWait);
}

bool RetryRule::TryNow() {
  if (!pending_ || trying_) return false;
  trying_ = true;
  return true;
}

void RetryRule::Ended() {
  failures_ = 0;
  pending_ = false;
  trying_ = false;
  host_missed_ = false;
}

bool RetryRule::HostChecked(bool answered) {
  if (!pending_ || trying_) return false;
  if (!answered) {
    host_missed_ = true;
    return false;
  }
  return host_missed_;
}

}  // namespace talvo
