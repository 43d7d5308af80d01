#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/stored_file.h"
#include "core/utf.h"

namespace talvo {
namespace {

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The temporary file, opened and locked against other client processes: two writers sharing it
// unlocked could rename one's half-written bytes over the other's file. The lock is on the file
// that still carries the temporary name (a writer that waited may find that its file was renamed
// meanwhile, and then opens the name again). -1 on failure.
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

SaveTrouble TroubleOf(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return SaveTrouble::kDiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
      return SaveTrouble::kNotAllowed;
    case ENOENT:
    case ENOTDIR:
      return SaveTrouble::kNoFolder;
    default:
      return SaveTrouble::kOther;
  }
}

}  // namespace

std::string ToStoredText(std::u16string_view text) { return Utf16ToUtf8(text); }
// A file marked on Windows is UTF-8 all the same.
std::u16string FromStoredText(std::string_view bytes, bool) { return Utf8ToUtf16(bytes); }

SaveTrouble ReplaceFileWhole(const std::filesystem::path& temp, const std::filesystem::path& target,
                             std::string_view content, std::string& why) {
  const int fd = OpenLockedTemp(temp);
  if (fd < 0) {
    const int error = errno;
    why = std::string("cannot open it: ") + std::strerror(error);
    return TroubleOf(error);
  }
  // Renamed while still locked: no other writer can touch these bytes before they are the file.
  const bool replaced = FillTemp(fd, content) && ::rename(temp.c_str(), target.c_str()) == 0;
  const int error = errno;
  if (!replaced) {
    why = std::string("not written: ") + std::strerror(error);
    ::unlink(temp.c_str());
  }
  ::close(fd);
  return replaced ? SaveTrouble::kNone : TroubleOf(error);
}

std::optional<std::string> ReadFileHead(const std::filesystem::path& path, std::size_t limit,
                                        std::string& why) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    // No file is the usual first start; anything else is worth a line.
    if (errno != ENOENT) why = std::strerror(errno);
    return std::nullopt;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    why = std::strerror(errno);
    ::close(fd);
    return std::nullopt;
  }
  std::string bytes;
  if (S_ISREG(info.st_mode)) {
    // Room for what the file holds and one byte more, where its end is seen; grown only for a
    // file that grows while it is read. The limit is a bound, not a size to allocate.
    bytes.resize(HeadRoom(static_cast<std::uintmax_t>(info.st_size), limit));
    std::size_t filled = 0;
    while (filled < limit) {
      if (filled == bytes.size()) bytes.resize(std::min(limit, 2 * bytes.size()));
      const ssize_t n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
      if (n < 0 && errno == EINTR) continue;
      // What was read before a failure is no file: the caller must not take it for the whole.
      if (n < 0) {
        why = std::string("read: ") + std::strerror(errno);
        ::close(fd);
        return std::nullopt;
      }
      if (n == 0) break;
      filled += static_cast<std::size_t>(n);
    }
    bytes.resize(filled);
    bytes.shrink_to_fit();
  }
  ::close(fd);
  return bytes;
}

}  // namespace talvo
