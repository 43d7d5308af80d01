#include "core/credential_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "core/debug_trace.h"
#include "core/scrambler.h"
#include "core/utf.h"

namespace talvo {
namespace {

constexpr const char* kFileName = "talvoq.dat";
constexpr const char* kTempName = ".talvoq.dat.tmp";
// Real files are two short lines; a huge or foreign file must not stall start-up.
constexpr std::size_t kMaxReadBytes = 64 * 1024;

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::filesystem::path CredentialFilePath(const std::filesystem::path& app_folder) {
  return app_folder / kFileName;
}

namespace {

// The temporary file beside the real one, opened and locked against other client processes:
// two writers sharing it unlocked could rename one's half-written bytes over the other's file.
// The lock is on the file that still carries the temporary name (a writer that waited may find
// that its file was renamed meanwhile, and then opens the name again). -1 on failure.
int OpenLockedTemp(const std::filesystem::path& temp) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return -1;
    struct stat held {
    }, named{};
    if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &held) == 0 && ::stat(temp.c_str(), &named) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
      return fd;
    }
    ::close(fd);
  }
  return -1;
}

// Writes the content into the locked temporary file; the file stays open and locked.
bool FillTemp(int fd, std::string_view content) {
  // The umask can only narrow the mode, but an older temporary file keeps its own: force it.
  return ::ftruncate(fd, 0) == 0 && ::fchmod(fd, 0600) == 0 && WriteAll(fd, content) &&
         ::fsync(fd) == 0;
}

}  // namespace

void WriteCredentialFile(const std::filesystem::path& app_folder, std::u16string_view user,
                         std::u16string_view password) {
  if (user.empty() || password.empty()) return;
  try {
    std::string content = Utf16ToUtf8(EncodeText(user));
    content += "\r\n";
    content += Utf16ToUtf8(EncodeText(password));
    content += "\r\n";
    const std::filesystem::path temp = app_folder / kTempName;
    const int fd = OpenLockedTemp(temp);
    if (fd < 0) {
      DebugTrace("credentials", temp.string() + ": cannot open it: " + std::strerror(errno));
      return;
    }
    // Renamed while still locked: no other writer can touch these bytes before they are the file.
    if (!FillTemp(fd, content) ||
        ::rename(temp.c_str(), CredentialFilePath(app_folder).c_str()) != 0) {
      DebugTrace("credentials", temp.string() + ": not written: " + std::strerror(errno));
      ::unlink(temp.c_str());
    }
    ::close(fd);
  } catch (...) {
    // Remembering the account is a convenience; typing must never fail because of it.
    DebugTrace("credentials", "the account was not remembered");
  }
}

CredentialLines SplitCredentialLines(std::string_view bytes) {
  CredentialLines lines;
  std::size_t pos = 0;
  for (std::string* target : {&lines.first, &lines.second}) {
    if (pos >= bytes.size()) break;
    const std::size_t end = std::min(bytes.find_first_of("\r\n", pos), bytes.size());
    target->assign(bytes.substr(pos, std::min(end - pos, kMaxCredentialLineBytes)));
    pos = end;
    if (pos < bytes.size()) pos += bytes.compare(pos, 2, "\r\n") == 0 ? 2 : 1;
  }
  return lines;
}

StoredAccount ReadCredentialFile(const std::filesystem::path& app_folder) {
  StoredAccount account;
  try {
    const std::filesystem::path path = CredentialFilePath(app_folder);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
      // No file is the usual first start; anything else is worth a line.
      if (errno != ENOENT) DebugTrace("credentials", path.string() + ": " + std::strerror(errno));
      return account;
    }
    struct stat info {};
    std::string bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
      bytes.resize(kMaxReadBytes);
      std::size_t filled = 0;
      while (filled < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        filled += static_cast<std::size_t>(n);
      }
      bytes.resize(filled);
    }
    ::close(fd);
    const CredentialLines lines = SplitCredentialLines(bytes);
    account.user = DecodeText(Utf8ToUtf16(lines.first));
    account.password = DecodeText(Utf8ToUtf16(lines.second));
  } catch (...) {
    DebugTrace("credentials", "the remembered account could not be read");
    account = {};
  }
  return account;
}

}  // namespace talvo
