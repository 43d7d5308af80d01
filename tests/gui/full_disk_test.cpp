// Saving on a real full disk (a small tmpfs) in the main window, with recording browser views.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/credential_file.h"
#include "mainwindow/viewer_memory.h"
#include "tests/support/form1_fixture.h"
#include "tests/support/small_disk.h"

namespace talvo {
namespace {

using FullDiskTest = testing::Form1Fixture;

// A full disk: the files stay as they were, the viewer is told once a file, and what was chosen
// meanwhile is saved with the next change once there is room.
TEST_F(FullDiskTest, ASaveOnAFullDiskKeepsTheOldFileTellsAndSavesAtTheNextChange) {
  const testing::SmallDisk disk;
  StartService();
  options_.app_folder = disk.path();
  WriteCredentialFile(disk.path(), u"观众", u"pw");
  Start();
  ViewerMemory& viewer = probe().Viewer();
  viewer.ToggleMute();
  const std::string choices = testing::FileBytes(ViewerChoicesPath(disk.path()));
  const std::string account = testing::FileBytes(CredentialFilePath(disk.path()));
  disk.Fill();

  viewer.StepVolume(-1);
  EXPECT_EQ(probe().Notice().Shown(), u"无法保存设置：磁盘已满");
  EXPECT_EQ(testing::FileBytes(ViewerChoicesPath(disk.path())), choices);
  probe().Login().Show();
  FrmLogin* login = probe().Login().Existing();
  ASSERT_NE(login, nullptr);
  login->SetPassword(u"pw2");
  EXPECT_EQ(probe().Notice().Shown(), u"无法保存账号：磁盘已满");
  EXPECT_EQ(testing::FileBytes(CredentialFilePath(disk.path())), account);
  login->Hide();
  viewer.StepVolume(-1);
  EXPECT_EQ(probe().Notice().Shown(), u"无法保存账号：磁盘已满") << "the choices told twice";

  disk.Free();
  viewer.ToggleResume();
  bool rewrite = false;
  const ViewerChoices saved = LoadViewerChoices(disk.path(), rewrite);
  EXPECT_TRUE(saved.muted && saved.resume);
  EXPECT_EQ(saved.volume, 80);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk.path()), {}), 2)
      << "a temporary file was left";
  testing::DestroyAndWait(form_);  // before its folder goes
  form_ = nullptr;
}

}  // namespace
}  // namespace talvo
