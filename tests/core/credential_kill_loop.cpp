// Kills a process that remembers the account over and over, with SIGKILL at a random moment, many
// times, and checks after every kill that the credential file still decodes to one whole pair.
//   credential_kill_loop [kills] [folder]
// Kills default to 1,000; the folder to a fresh one under the current directory (a real disk:
// the temporary file's fsync is what makes a write take long enough to be interrupted).
// Exit status 0 only when every read found a whole pair.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "core/credential_file.h"
#include "core/utf.h"

namespace {

// Two pairs of different lengths, so a half-written file could not pass for either.
const std::u16string kPairs[2][2] = {{u"a_rather_long_user_name_here", u"and_a_password_as_long"},
                                     {u"张三", u"pw"}};

bool IsWholePair(const talvo::StoredAccount& read) {
  for (const auto& pair : kPairs) {
    if (read.user == pair[0] && read.password == pair[1]) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const long kills = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000;
  std::filesystem::path folder;
  if (argc > 2) {
    folder = argv[2];
  } else {
    std::string pattern = (std::filesystem::current_path() / "kill-loop-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return 2;
    folder = pattern;
  }
  std::filesystem::create_directories(folder);
  talvo::WriteCredentialFile(folder, kPairs[0][0], kPairs[0][1]);
  const std::filesystem::path temp = folder / ".talvoq.dat.tmp";

  std::mt19937 random(std::random_device{}());
  // Wide enough to let several writes finish, narrow enough to land in any of their steps.
  std::uniform_int_distribution<int> delay_us(0, 4000);
  long broken = 0;
  long mid_write = 0;
  const auto started = std::chrono::steady_clock::now();
  for (long kill = 0; kill < kills; ++kill) {
    // The random moment counts from the writer's first finished write, not from the fork: on a
    // loaded machine a new process may not run at all for longer than the widest delay.
    int running[2];
    if (::pipe(running) != 0) return 2;
    const pid_t writer = ::fork();
    if (writer < 0) return 2;
    if (writer == 0) {
      ::close(running[0]);
      for (unsigned i = 0;; ++i) {
        talvo::WriteCredentialFile(folder, kPairs[i % 2][0], kPairs[i % 2][1]);
        if (i == 0) {
          const char ready = 1;
          if (::write(running[1], &ready, 1) != 1) ::_exit(2);
          ::close(running[1]);
        }
      }
    }
    ::close(running[1]);
    char ready = 0;
    const bool started = ::read(running[0], &ready, 1) == 1;
    ::close(running[0]);
    if (!started) return 2;
    std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
    ::kill(writer, SIGKILL);
    int status = 0;
    ::waitpid(writer, &status, 0);
    // The temporary file still there means the writer died between opening and renaming it.
    if (std::filesystem::exists(temp)) ++mid_write;
    const talvo::StoredAccount read = talvo::ReadCredentialFile(folder);
    if (!IsWholePair(read) || std::filesystem::file_size(talvo::CredentialFilePath(folder)) == 0) {
      ++broken;
      std::fprintf(stderr, "kill %ld: not a whole pair: \"%s\" / \"%s\"\n", kill,
                   talvo::Utf16ToUtf8(read.user).c_str(),
                   talvo::Utf16ToUtf8(read.password).c_str());
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf(
      "%ld writers killed in %.1f s, %ld of them with the temporary file open; "
      "%ld reads without a whole pair\n",
      kills, seconds, mid_write, broken);
  if (argc <= 2) std::filesystem::remove_all(folder);
  // A loop whose kills never land inside a write proves nothing.
  if (kills >= 20 && mid_write == 0) {
    std::fprintf(stderr, "no kill landed inside a write\n");
    return 1;
  }
  return broken == 0 ? 0 : 1;
}
