#include "core/stored_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/scratch.h"

namespace talvo {
namespace {

// The limit bounds the read; it is never what is set aside for it.
TEST(ReadFileHead, HoldsNoMoreThanTheFileAndStopsAtTheLimit) {
  const testing::TempFolder folder("head");
  std::ofstream(folder / "small", std::ios::binary) << "twelve bytes";
  std::string why;
  const std::optional<std::string> whole =
      ReadFileHead(folder / "small", std::size_t{1} << 30, why);
  ASSERT_TRUE(whole.has_value()) << why;
  EXPECT_EQ(*whole, "twelve bytes");
  EXPECT_LT(whole->capacity(), 4096u);
  EXPECT_EQ(ReadFileHead(folder / "small", 6, why), "twelve");
  EXPECT_EQ(ReadFileHead(folder / "small", 0, why), "");
#ifndef _WIN32
  // A read the kernel fails (this process's memory at address 0) is no empty file.
  EXPECT_EQ(ReadFileHead("/proc/self/mem", 64, why), std::nullopt);
  EXPECT_NE(why.find("read"), std::string::npos) << why;
#endif
}

}  // namespace
}  // namespace talvo
