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
  ChoicesFile file = ChoicesFile::kMissing;
  const ViewerChoices saved = LoadViewerChoices(disk.path(), file);
  EXPECT_TRUE(saved.muted && saved.resume);
  EXPECT_EQ(saved.volume, 80);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk.path()), {}), 2)
      << "a temporary file was left";
  testing::DestroyAndWait(form_);  // before its folder goes
  form_ = nullptr;
}

// A file whose read fails (here one the kernel cannot read from its start) is no empty file: the
// choices of the run stay in memory, the file is never written over, the viewer is told once.
TEST_F(FullDiskTest, AChoicesFileThatCannotBeReadIsNeverWrittenOver) {
  StartService();
  std::filesystem::create_symlink("/proc/self/mem", ViewerChoicesPath(folder_));
  ChoicesFile file = ChoicesFile::kRead;
  LoadViewerChoices(folder_, file);
  EXPECT_EQ(file, ChoicesFile::kUnreadable);
  Start();
  probe().Viewer().StepVolume(-1);
  probe().Viewer().ToggleMute();
  EXPECT_TRUE(std::filesystem::is_symlink(ViewerChoicesPath(folder_)));
  EXPECT_TRUE(probe().Viewer().Choices().muted);
  EXPECT_EQ(probe().Notice().Shown(), u"无法读取设置，更改不会保存");
}

}  // namespace
}  // namespace talvo
