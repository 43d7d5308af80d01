#include "core/credential_file.h"

#include <gtest/gtest.h>

#include <fstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "core/scrambler.h"
#include "core/utf.h"
#include "tests/support/scratch.h"

namespace talvo {
namespace {

namespace fs = std::filesystem;

class CredentialFileTest : public ::testing::Test {
 protected:
  // A test may take the folder's permissions away; they come back before it is removed.
  void TearDown() override { fs::permissions(folder_, fs::perms::owner_all); }

  fs::path File() const { return CredentialFilePath(folder_); }
  bool Exists() const { return fs::exists(File()); }
  std::string Bytes() const { return testing::FileBytes(File()); }
  void Put(std::string_view bytes) const { std::ofstream(File(), std::ios::binary) << bytes; }
  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  // The stored pair, to compare whole.
  using Pair = std::pair<std::u16string, std::u16string>;
  Pair Read() const {
    const StoredAccount account = ReadCredentialFile(folder_);
    return {account.user, account.password};
  }

  // What the login window's two change handlers do on every keystroke.
  void Type(std::u16string_view user, std::u16string_view password) const {
    WriteCredentialFile(folder_, user, password);
  }

  testing::TempFolder folder_{"cred"};
};

// Keystroke after keystroke: the pair is stored once both boxes hold text; a box emptied stores
// nothing, so a deleted password keeps its first character.
TEST_F(CredentialFileTest, EachKeystrokeStoresThePairWhileBothBoxesHoldText) {
  const struct {
    std::u16string_view user, password;
    std::optional<Pair> stored;  // nothing: no file
    bool rewritten;
  } keystrokes[] = {
      {u"v", u"", std::nullopt, false},
      {u"vi", u"", std::nullopt, false},
      {u"vi", u"p", Pair(u"vi", u"p"), true},
      {u"viewer", u"ab", Pair(u"viewer", u"ab"), true},
      {u"viewer", u"a", Pair(u"viewer", u"a"), true},
      {u"viewer", u"", Pair(u"viewer", u"a"), false},
      {u"", u"a", Pair(u"viewer", u"a"), false},
  };
  for (const auto& key : keystrokes) {
    const std::string before = Exists() ? Bytes() : "";
    Type(key.user, key.password);
    const std::string typed = Utf16ToUtf8(key.user) + " / " + Utf16ToUtf8(key.password);
    EXPECT_EQ(Exists() ? std::optional(Read()) : std::nullopt, key.stored) << typed;
    EXPECT_EQ(Bytes() != before, key.rewritten) << typed;
  }
}

TEST_F(CredentialFileTest, FileIsTwoScrambledLinesEndingInCrLfReadableByItsOwnerOnly) {
  Type(u"viewer", u"secret");
  const std::string bytes = Bytes();
  ASSERT_EQ(bytes.size(), 16u + 2 + 16 + 2);
  EXPECT_EQ(bytes.substr(16, 2), "\r\n");
  EXPECT_EQ(bytes.substr(34, 2), "\r\n");
  EXPECT_EQ(bytes.find_first_not_of("0123456789"), 10u);
  EXPECT_EQ(DecodeText(Utf8ToUtf16(bytes.substr(0, 16))), u"viewer");
  EXPECT_EQ(DecodeText(Utf8ToUtf16(bytes.substr(18, 16))), u"secret");
#ifndef _WIN32
  struct stat info {};
  ASSERT_EQ(::stat(File().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
#endif
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"talvoq.dat"});  // no temporary left
}

TEST_F(CredentialFileTest, SamePairTwiceGivesNewBytesThatReadTheSame) {
  Type(u"viewer", u"secret");
  const std::string first = Bytes();
  Type(u"viewer", u"secret");
  EXPECT_NE(Bytes(), first);
  EXPECT_EQ(Read(), Pair(u"viewer", u"secret"));
}

TEST_F(CredentialFileTest, PunctuationBlanksAndChineseComeBackWhole) {
  const std::u16string user = u"张 三,\"x\";y:z&'";
  const std::u16string password = u"p, w;\"d\" 密码\\~";
  Type(user, password);
  EXPECT_EQ(Read(), Pair(user, password));
}

TEST_F(CredentialFileTest, MissingFileOrFolderOfThatNameReadsEmptyAndCreatesNothing) {
  EXPECT_EQ(Read(), Pair(u"", u""));
  EXPECT_TRUE(FolderEntries().empty());

  fs::create_directory(File());
  EXPECT_EQ(Read(), Pair(u"", u""));
}

TEST_F(CredentialFileTest, ShortAndDegenerateFiles) {
  const std::string user_line = Utf16ToUtf8(EncodeText(u"viewer"));
  Put(user_line + "\r\n");
  EXPECT_EQ(Read(), Pair(u"viewer", u""));

  Put("");
  EXPECT_EQ(Read(), Pair(u"", u""));

  Put("1234560578\r\n9876541932\r\n");
  EXPECT_EQ(Read(), Pair(u"", u""));

  // Binary garbage, and a file of 1 GiB (sparse): defined texts, read from the head only.
  Put(std::string("\x00\xff\xfe\r\n\x81\x30\x81", 8) + Utf16ToUtf8(EncodeText(u"x")));
  const StoredAccount garbage = ReadCredentialFile(folder_);
  // Three bytes are no scrambled text; the second line yields at most what follows its ten-
  // character head (U+FFFD, '0', U+FFFD, then the eleven of "x" scrambled).
  EXPECT_EQ(garbage.user, u"");
  EXPECT_LE(garbage.password.size(), 4u);
  Put(user_line + "\r\n");
  std::filesystem::resize_file(CredentialFilePath(folder_), std::uintmax_t{1} << 30);
  EXPECT_EQ(ReadCredentialFile(folder_).user, u"viewer");
}

TEST_F(CredentialFileTest, LoneLfAndLoneCrAlsoEndLines) {
  const std::string user = Utf16ToUtf8(EncodeText(u"viewer"));
  const std::string password = Utf16ToUtf8(EncodeText(u"secret"));
  for (const std::string_view end : {"\n", "\r"}) {
    Put(user + std::string(end) + password + std::string(end));
    EXPECT_EQ(Read(), Pair(u"viewer", u"secret"));
  }
  Put(user + "\r\n" + password);  // no line end after the last line
  EXPECT_EQ(ReadCredentialFile(folder_).password, u"secret");
}

TEST(SplitCredentialLines, KeepsAtMostFourKilobytesOfALine) {
  const std::string long_line(10000, '7');
  const CredentialLines lines = SplitCredentialLines(long_line + "\r\nsecond\r\nthird\r\n");
  EXPECT_EQ(lines.first, std::string(kMaxCredentialLineBytes, '7'));
  EXPECT_EQ(lines.second, "second");
  // CR LF is one line end, CR CR two.
  EXPECT_EQ(SplitCredentialLines("a\r\rb").second, "");
  EXPECT_EQ(SplitCredentialLines("a\n\rb").second, "");
  EXPECT_EQ(SplitCredentialLines("a\r\nb").second, "b");
}

TEST_F(CredentialFileTest, UnwritableTemporaryKeepsTheOldFileWhole) {
  Type(u"viewer", u"secret");
  const std::string before = Bytes();
  // A folder where the temporary file goes makes every write fail, even for root.
  fs::create_directory(folder_ / ".talvoq.dat.tmp");
  Type(u"viewer", u"changed");
  EXPECT_EQ(Bytes(), before);
  EXPECT_EQ(ReadCredentialFile(folder_).password, u"secret");
}

// Folder permissions and other processes the POSIX way; Windows has no counterpart to these.
#ifndef _WIN32
TEST_F(CredentialFileTest, ReadOnlyFolderKeepsTheOldFileWhole) {
  Type(u"viewer", u"secret");
  const std::string before = Bytes();
  fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
  if (::geteuid() != 0) {
    Type(u"viewer", u"changed");
  } else {
    // Root writes through folder permissions: the keystroke comes from an ordinary user who owns
    // the folder and the file, as the client's user does.
    ASSERT_EQ(::chown(folder_.path().c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chown(File().c_str(), 65534, 65534), 0);
    const pid_t typist = ::fork();
    ASSERT_GE(typist, 0);
    if (typist == 0) {
      const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
      if (dropped) Type(u"viewer", u"changed");
      ::_exit(dropped ? 0 : 1);
    }
    int status = 0;
    ::waitpid(typist, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "could not become nobody";
  }
  EXPECT_EQ(Bytes(), before);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"talvoq.dat"});
}

TEST_F(CredentialFileTest, TwoClientsTypingAtOnceLeaveOneWholePair) {
  Type(u"start", u"start");
  // Two processes, each remembering its own pair over and over, while this one reads.
  const Pair pairs[] = {{u"a_rather_long_user_name", u"and_a_long_password"}, {u"b", u"c"}};
  std::vector<pid_t> writers;
  for (const auto& [user, password] : pairs) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      for (int i = 0; i < 400; ++i) WriteCredentialFile(folder_, user, password);
      ::_exit(0);
    }
    writers.push_back(pid);
  }
  int mixed = 0;
  for (int i = 0; i < 800; ++i) {
    const Pair read = Read();
    mixed += read == Pair(u"start", u"start") || read == pairs[0] || read == pairs[1] ? 0 : 1;
  }
  for (const pid_t pid : writers) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(mixed, 0) << "a read found no whole pair";
  const StoredAccount last = ReadCredentialFile(folder_);
  EXPECT_TRUE(last.user == pairs[0].first || last.user == pairs[1].first);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"talvoq.dat"}) << "a temporary file was left";
}

#endif

#ifdef _WIN32
// The files users already have were written in the ANSI code page, 936 on a Chinese Windows.
TEST_F(CredentialFileTest, ChineseIsStoredInTheAnsiCodePage) {
  if (GetACP() != 936) GTEST_SKIP() << "for a Chinese locale (scripts/wine-run sets one)";
  Put("0000000000\xD5\xC5\xC8\xFD\r\n0000000000abc\r\n");  // table 00: the bodies as they are
  EXPECT_EQ(ReadCredentialFile(folder_).user, u"张三");
  Type(u"张三", u"abc");
  EXPECT_NE(Bytes().find("\xD5\xC5\xC8\xFD"), std::string::npos);
}

// Text the code page cannot hold is never stored as "?": the file is UTF-8 then, marked at its
// start. Run in a Chinese locale (936) and in a Western one (1252, TALVO_WINE_LOCALE).
TEST_F(CredentialFileTest, TextTheAnsiCodePageCannotHoldIsStoredAsMarkedUtf8) {
  const UINT code_page = GetACP();
  ASSERT_TRUE(code_page == 936 || code_page == 1252) << code_page;
  const struct {
    std::u16string password;
    bool marked_in_936, marked_in_1252;
  } cases[] = {{u"密码123", false, true}, {u"한국어", true, true}, {u"abc", false, false}};
  for (const auto& row : cases) {
    Type(u"viewer", row.password);
    const bool marked = Bytes().starts_with("\xEF\xBB\xBF");
    EXPECT_EQ(marked, code_page == 936 ? row.marked_in_936 : row.marked_in_1252)
        << Utf16ToUtf8(row.password);
    EXPECT_EQ(Read(), Pair(u"viewer", row.password));
  }
}
#endif

TEST_F(CredentialFileTest, CrashBetweenWriteAndRenameNeverLeavesATruncatedFile) {
  Type(u"viewer", u"secret");
  // The new content reached the temporary file, then the process died before the rename: what
  // the writer leaves then, made by hand.
  std::ofstream(folder_ / ".talvoq.dat.tmp", std::ios::binary) << "12345";
  EXPECT_EQ(Read(), Pair(u"viewer", u"secret"));
  // The next keystroke replaces both the leftover and the file.
  Type(u"viewer", u"secret2");
  EXPECT_EQ(Read().second, u"secret2");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"talvoq.dat"});
}

}  // namespace
}  // namespace talvo
