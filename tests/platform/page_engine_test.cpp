#include "platform/web/page_engine.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/web/page_outage.h"

namespace talvo {
namespace {

TEST(PageEngine, EdgeWhereItsRuntimeIsThenTheIeControlThenTheNotice) {
  const struct Row {
    bool edge, ie;
    PageEngine chosen;
  } rows[] = {
      {true, true, PageEngine::kEdge},
      {true, false, PageEngine::kEdge},
      {false, true, PageEngine::kInternetExplorer},
      {false, false, PageEngine::kNone},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ChoosePageEngine(row.edge, row.ie), row.chosen) << row.edge << row.ie;
  }
}

TEST(PageEngine, TheUsersOwnSwitchesStayAndOursAreAddedWhereTheyNameNone) {
  const std::string autoplay = "--autoplay-policy=no-user-gesture-required";
  const struct Row {
    const char* name;
    const char* users_own;
    const char* proxy;
    std::string arguments;
  } rows[] = {
      {"nothing of the user's, the desktop's proxy", "", "system", autoplay},
      {"no proxy", "", "none", autoplay + " --no-proxy-server"},
      {"a proxy of [network]", "", "socks5://127.0.0.1:1080",
       autoplay + " --proxy-server=socks5://127.0.0.1:1080"},
      {"the user's own switches first, kept whole", "--lang=zh-CN --disable-gpu ", "none",
       "--lang=zh-CN --disable-gpu " + autoplay + " --no-proxy-server"},
      {"the user's own autoplay policy stands", "--autoplay-policy=user-gesture-required", "system",
       "--autoplay-policy=user-gesture-required"},
      {"the user's own way to a proxy stands, of any kind", "--proxy-pac-url=http://h/p.pac",
       "http://127.0.0.1:8080", "--proxy-pac-url=http://h/p.pac " + autoplay},
      {"a switch is named whole, not by a prefix", "--autoplay-policy-x", "system",
       "--autoplay-policy-x " + autoplay},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(EdgeBrowserArguments(row.users_own, row.proxy), row.arguments) << row.name;
  }
}

// What the viewer reads for a navigation error of Edge's: the notice's headline, or nothing for
// a load that another replaced or a page that asks for a password.
TEST(PageEngine, TheViewerSeesWhatWentWrongOrNothing) {
  using E = EdgeWebError;
  const struct Row {
    E error;
    const char* sees;
  } rows[] = {
      {E::kOperationCanceled, ""},
      {E::kValidAuthenticationCredentialsRequired, ""},
      {E::kCertificateExpired, "安全连接失败"},
      {E::kDisconnected, "网络不可用"},
      {E::kTimeout, "连接超时"},
      {E::kConnectionReset, "连接被中断"},
      {E::kCannotConnect, "无法连接到服务器"},
      {E::kHostNameNotResolved, "找不到服务器"},
      {E::kValidProxyAuthenticationRequired, "无法载入此页面"},
      {static_cast<E>(99), "无法载入此页面"},  // a status of a newer runtime
  };
  for (const Row& row : rows) {
    const std::optional<LoadTrouble> trouble = TroubleOfEdgeError(static_cast<int>(row.error));
    EXPECT_EQ(trouble ? OutageHeadline(*trouble) : "", row.sees) << static_cast<int>(row.error);
  }
}

}  // namespace
}  // namespace talvo
