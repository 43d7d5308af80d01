#include "tests/support/small_disk.h"

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace talvo::testing {
namespace {

std::filesystem::path Filler(const std::filesystem::path& disk) { return disk / "filler"; }

}  // namespace

SmallDisk::SmallDisk() {
  if (::mount("tmpfs", path().c_str(), "tmpfs", 0, "size=256k") != 0) {
    throw std::runtime_error("cannot mount a tmpfs (the tests run as root): " +
                             std::string(std::strerror(errno)));
  }
}

SmallDisk::~SmallDisk() { ::umount2(path().c_str(), MNT_DETACH); }

void SmallDisk::Fill() const {
  std::ofstream out(Filler(path()), std::ios::binary | std::ios::app);
  const std::vector<char> block(4096, 'x');
  while (out.write(block.data(), static_cast<std::streamsize>(block.size())) && out.flush()) {
  }
  // What is left is less than a block: a byte at a time takes the rest.
  out.clear();
  while (out.put('x') && out.flush()) {
  }
}

void SmallDisk::Free() const { std::filesystem::remove(Filler(path())); }

}  // namespace talvo::testing
