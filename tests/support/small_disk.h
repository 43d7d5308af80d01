// A real file system that can be filled: a small tmpfs mounted over a folder of its own (the
// tests run as root), for what the client does when a disk is full.
#pragma once

#include <sys/mount.h>

#include <fstream>
#include <stdexcept>

#include "tests/support/scratch.h"

namespace talvo::testing {

class SmallDisk : public TempFolder {
 public:
  SmallDisk() : TempFolder("disk") {
    if (::mount("tmpfs", path().c_str(), "tmpfs", 0, "size=64k") != 0) {
      throw std::runtime_error("cannot mount a tmpfs: the tests run as root");
    }
  }
  ~SmallDisk() { ::umount2(path().c_str(), MNT_DETACH); }

  // Every free byte taken by one file, or given back.
  void Fill() const {
    std::ofstream out(*this / "filler", std::ios::binary);
    while (out.put('x') && out.flush()) {
    }
  }
  void Free() const { std::filesystem::remove(*this / "filler"); }
};

}  // namespace talvo::testing
