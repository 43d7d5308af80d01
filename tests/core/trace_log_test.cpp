// What failed is recorded in talvo.log for whoever helps the viewer: one line for each, with the
// local time, what and where, never a password; past its size the log starts anew beside the one
// before; a log that cannot be written changes nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>

#include "core/charset_tables.h"
#include "core/credential_file.h"
#include "core/debug_trace.h"
#include "core/fetcher.h"
#include "core/utf.h"
#include "tests/support/loopback_server.h"
#include "tests/support/scratch.h"

namespace talvo {
namespace {

class TraceLogTest : public ::testing::Test {
 protected:
  void SetUp() override { SetTraceLog(log_); }
  void TearDown() override { SetTraceLog({}); }

  testing::TempFolder folder_{"trace-log"};
  std::filesystem::path log_ = folder_.path() / "talvo.log";
};

TEST_F(TraceLogTest, EachFailureIsALineOfItsTimeWhatAndWhereWithoutThePassword) {
  const std::string refused =
      "http://127.0.0.1:" + std::to_string(testing::UnusedPort()) + "/user/denglu.asp";
  EXPECT_EQ(FetchPage(Utf8ToUtf16(refused + "?yh=demo&pw=secret88&x=1"), u"gbk"), u"");
  WriteCredentialFile(folder_.path() / "gone", u"demo", u"secret88");
  DebugTrace("page", "http://tv.test/usbtv/a.html?pw=secret88: Could not connect");

  const std::string text = testing::FileBytes(log_);
  EXPECT_EQ(text.find("secret88"), std::string::npos) << text;
  const std::string when = "[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} ";
  for (const std::string& line : {
           when + "fetch: " + refused + R"(\?yh=demo&pw=\*\*\*&x=1: .+)",
           when + "credentials: .*gone.*",
           when + R"(page: http://tv\.test/usbtv/a\.html\?pw=\*\*\*: Could not connect)",
       }) {
    EXPECT_TRUE(std::regex_search(text, std::regex("(^|\n)" + line + "\n"))) << line << "\n"
                                                                             << text;
  }
}

TEST_F(TraceLogTest, PastItsSizeTheLogStartsAnewInPlaceOfTheOneBefore) {
  std::ofstream(log_, std::ios::binary) << std::string(kTraceLogMaxBytes, 'x');
  std::ofstream(folder_.path() / "talvo.log.1") << "the oldest\n";
  DebugTrace("viewer", "not saved: disk full");
  EXPECT_EQ(std::filesystem::file_size(folder_.path() / "talvo.log.1"), kTraceLogMaxBytes);
  const std::string text = testing::FileBytes(log_);
  EXPECT_NE(text.find("viewer: not saved: disk full\n"), std::string::npos) << text;
  EXPECT_LT(text.size(), 100u);

  SetTraceLog(folder_.path() / "missing" / "talvo.log");
  DebugTrace("viewer", "not saved");
  EXPECT_FALSE(std::filesystem::exists(folder_.path() / "missing"));
}

#ifndef _WIN32
// A system without the converter: one line says so, and its tables are empty (every byte of it
// reads as U+FFFD).
TEST_F(TraceLogTest, AConverterTheSystemLacksIsSaid) {
  const charset::MultiByteTables tables = charset::ConverterTables("NO-SUCH-CHARSET", true);
  EXPECT_TRUE(std::ranges::all_of(tables.pairs, [](char16_t unit) { return unit == 0; }));
  EXPECT_NE(testing::FileBytes(log_).find("charset: no NO-SUCH-CHARSET converter"),
            std::string::npos)
      << testing::FileBytes(log_);
}
#endif

}  // namespace
}  // namespace talvo
