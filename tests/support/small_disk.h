// A real file system that can be filled: a small tmpfs mounted over a folder of its own (the
// tests run as root), for what the client does when a disk is full.
#pragma once

#include <filesystem>

#include "tests/support/scratch.h"

namespace talvo::testing {

class SmallDisk {
 public:
  SmallDisk();  // throws when it cannot be mounted
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  const std::filesystem::path& path() const { return folder_.path(); }
  // Every free byte taken by one file, and given back.
  void Fill() const;
  void Free() const;

 private:
  TempFolder folder_{"disk"};
};

}  // namespace talvo::testing
