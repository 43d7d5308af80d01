#include "platform/web/page_engine.h"

#include <gtest/gtest.h>

#include <optional>

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

TEST(PageEngine, TheEnginesNavigationErrorsGiveOurNotices) {
  using E = EdgeWebError;
  const struct Row {
    E error;
    std::optional<LoadTrouble> trouble;
  } rows[] = {
      {E::kOperationCanceled, std::nullopt},
      {E::kValidAuthenticationCredentialsRequired, std::nullopt},
      {E::kCertificateCommonNameIsIncorrect, LoadTrouble::kSecure},
      {E::kCertificateExpired, LoadTrouble::kSecure},
      {E::kClientCertificateContainsErrors, LoadTrouble::kSecure},
      {E::kCertificateRevoked, LoadTrouble::kSecure},
      {E::kCertificateIsInvalid, LoadTrouble::kSecure},
      {E::kServerUnreachable, LoadTrouble::kNoRoute},
      {E::kDisconnected, LoadTrouble::kNoRoute},
      {E::kTimeout, LoadTrouble::kTimedOut},
      {E::kConnectionAborted, LoadTrouble::kReset},
      {E::kConnectionReset, LoadTrouble::kReset},
      {E::kCannotConnect, LoadTrouble::kRefused},
      {E::kHostNameNotResolved, LoadTrouble::kHostNotFound},
      {E::kUnknown, LoadTrouble::kOther},
      {E::kHttpInvalidServerResponse, LoadTrouble::kOther},
      {E::kRedirectFailed, LoadTrouble::kOther},
      {E::kUnexpectedError, LoadTrouble::kOther},
      {E::kValidProxyAuthenticationRequired, LoadTrouble::kOther},
      {static_cast<E>(99), LoadTrouble::kOther},  // a status of a newer runtime
  };
  for (const Row& row : rows) {
    EXPECT_EQ(TroubleOfEdgeError(static_cast<int>(row.error)), row.trouble)
        << static_cast<int>(row.error);
  }
}

}  // namespace
}  // namespace talvo
