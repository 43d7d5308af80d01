#include "platform/single_instance.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/scratch.h"

namespace talvo {
namespace {

namespace fs = std::filesystem;

// However a start spells its folder, the same folder is held under the same name.
TEST(SingleInstanceTest, OneFolderHasOneNameHoweverItIsSpelled) {
  const testing::TempFolder work("instance-name");
  const fs::path folder = work / "talvo";
  fs::create_directories(folder);
  fs::create_directories(work / "other");
  std::vector<fs::path> spellings = {folder / "", work / "other" / ".." / "talvo"};
#ifndef _WIN32
  fs::create_directory_symlink(folder, work / "link");
  spellings.push_back(work / "link");
#endif
  const std::string name = AppFolderInstanceName(folder);
  for (const fs::path& same : spellings) EXPECT_EQ(AppFolderInstanceName(same), name) << same;
  EXPECT_NE(AppFolderInstanceName(work / "other"), name);
  EXPECT_TRUE(name.starts_with("talvo-")) << name;
}

}  // namespace
}  // namespace talvo
