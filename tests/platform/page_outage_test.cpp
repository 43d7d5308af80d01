#include "platform/web/page_outage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace talvo {
namespace {

// Each row is what happens to a page that could not be loaded, one event a character, and what
// the rule answers: F a failure (the delay it sets, in seconds), T the backoff is up or the
// network is back (1: the page is loaded again, 0: not), E another page was chosen or arrived,
// M and A a check of the host that found it silent or answering (1: try the page at once), R a
// failure because the host refused.
TEST(RetryRule, BacksOffTriesOnceAtATimeAndStopsForANewerChoice) {
  const struct Row {
    const char* name;
    const char* events;
    std::vector<int> answers;
  } rows[] = {
      {"the backoff doubles up to a minute", "FFFFFFFF", {2, 4, 8, 16, 32, 60, 60, 60}},
      {"nothing failed: nothing to try", "TE T", {0, 0}},
      {"the network is back: tried at once, once while the try is on its way",
       "FTTF T",
       {2, 1, 0, 4, 1}},
      {"a newer choice: the old page is never loaded", "FEET", {2, 0}},
      {"the page arrived and plays: no retry interrupts it", "FTET", {2, 1, 0}},
      {"a later failure starts again from 2 s", "FFFEF", {2, 4, 8, 2}},
      {"the host answers after a silent check: tried at once, and once only",
       "FAMATAFAEMA",
       {2, 0, 0, 1, 1, 0, 4, 0, 0, 0}},
      {"refused, then the host answers: tried at once", "RAT", {2, 1, 1}},
  };
  for (const Row& row : rows) {
    RetryRule rule;
    std::vector<int> answers;
    for (const char* event = row.events; *event != '\0'; ++event) {
      if (*event == 'F') answers.push_back(static_cast<int>(rule.Failed().count()));
      if (*event == 'R') {
        answers.push_back(static_cast<int>(rule.Failed(LoadTrouble::kRefused).count()));
      }
      if (*event == 'T') answers.push_back(rule.TryNow() ? 1 : 0);
      if (*event == 'E') rule.Ended();
      if (*event == 'M' || *event == 'A') answers.push_back(rule.HostChecked(*event == 'A'));
    }
    EXPECT_EQ(answers, row.answers) << row.name;
  }
}

// The notice never lets a page's address break out of its attribute, and never shows a
// user name or password the address carries.
TEST(OutageNoticeHtml, SaysWhatHappenedAndNothingOfTheAddressButItsHost) {
  const std::string html =
      OutageNoticeHtml(LoadTrouble::kSecure, "https://me:pw@tv.example:8443/a?\"><script>x");
  EXPECT_NE(html.find("安全连接失败"), std::string::npos);
  EXPECT_NE(html.find("<p>tv.example:8443</p>"), std::string::npos);
  EXPECT_EQ(html.find("<script>"), std::string::npos);
  EXPECT_EQ(html.find("pw@"), html.rfind("pw@")) << "only in the button's address";
}

}  // namespace
}  // namespace talvo
