#include "mainwindow/viewer_memory.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace talvo {
namespace {

using enum PageKind;

TEST(ViewerChoicesTest, WhatIsKeptReadsBackAndWhatIsDamagedIsLeftOut) {
  ViewerChoices kept;
  kept.muted = true;
  kept.StepVolume(-3);
  kept.resume = true;
  kept.close_to_tray = true;
  kept.window = WindowPlace{{-1200, 40, 800, 600}, true};
  kept.small_window = PlaceRect{1256, 796, 320, 180};
  kept.Played({kChannel, u"http://live/a.html"});
  kept.Played({kStation, u"http://tv/radio?id=1&n=音乐"});
  kept.Played({kStation, u"http://tv/radio?id=1&n=音乐"});  // the same again: nothing changes
  kept.ToggleFavourite({u"张三", kChannel, u"http://live/a.html", u"北京卫视高清"});
  kept.ToggleFavourite({u"tab\there%0A\r\n", kStation, u"http://x/%41", u"名\t字"});
  kept.ToggleFavourite({u"", kChannel, u"http://live/b.html", u"广东卫视高清"});
  kept.ToggleFavourite({u"", kChannel, u"http://live/b.html", u"广东卫视高清"});  // off again
  EXPECT_EQ(kept.volume, 70);
  EXPECT_EQ(kept.before, (PlayedPage{kChannel, u"http://live/a.html"}));
  EXPECT_TRUE(kept.IsFavourite(u"张三", u"http://live/a.html"));
  EXPECT_FALSE(kept.IsFavourite(u"李四", u"http://live/a.html"));  // by account
  EXPECT_EQ(kept.FavouritesOf(u"").size(), 0u);
  ASSERT_EQ(ReadViewerChoices(WriteViewerChoices(kept)), kept);

  ViewerChoices muted;
  muted.muted = true;
  const struct {
    const char* what;
    std::string text;
    std::optional<ViewerChoices> read;
  } cases[] = {
      {"empty", "", std::nullopt},
      {"another file", "[service]\nprimary = x\n", std::nullopt},
      {"a later version", "talvo viewer choices 2\nmuted\t1\n", std::nullopt},
      {"CR LF line ends", "talvo viewer choices 1\r\nmuted\t1\r\n", muted},
      {"bad values keep the defaults",
       "talvo viewer choices 1\nmuted\tyes\nvolume\t55\nvolume\t-10\nvolume\t1000\nresume\t\n"
       "played\ttv\thttp://a\nbefore\tchannel\t\nfavourite\tx\tchannel\thttp://a\nfavourite\tx\t"
       "channel\thttp://a\tbad%zz\nunknown\t1\nwindow\t1 2 3\t0\nwindow\t1 2 0 4\t0\nwindow\t1 2 3 "
       "4\tyes\nsmall\t1 2 3 4 5\nsmall\t1 2 3 99999\n\n",
       ViewerChoices{}},
      {"a favourite twice is kept once",
       "talvo viewer choices 1\nfavourite\ta\tchannel\thttp://a\tA\nfavourite\ta\tchannel\thttp://a\tB\n",
       [] {
         ViewerChoices c;
         c.favourites.push_back({u"a", kChannel, u"http://a", u"A"});
         return c;
       }()},
      {"cut off in its last line", "talvo viewer choices 1\nmuted\t1\nvolume\t5", muted},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadViewerChoices(c.text), c.read) << c.what;
}

TEST(ViewerChoicesTest, AFileThatIsNotOneIsReplacedAndAGoodOneSurvivesAFailedSave) {
  const testing::TempFolder folder("viewer");
  ChoicesFile file = ChoicesFile::kRead;
  EXPECT_EQ(LoadViewerChoices(folder, file), ViewerChoices{});  // no file yet
  EXPECT_EQ(file, ChoicesFile::kMissing);
  std::ofstream(ViewerChoicesPath(folder), std::ios::binary) << "\x89PNG\r\n\x1a\n";
  EXPECT_EQ(LoadViewerChoices(folder, file), ViewerChoices{});
  EXPECT_EQ(file, ChoicesFile::kReplace);

  ViewerChoices choices;
  choices.muted = true;
  ASSERT_EQ(SaveViewerChoices(folder, choices), SaveTrouble::kNone);
  EXPECT_EQ(LoadViewerChoices(folder, file), choices);
  EXPECT_EQ(file, ChoicesFile::kRead);
  // A temporary file that cannot be made: the save fails and the file stays whole.
  std::filesystem::create_directory(ViewerChoicesPath(folder).string() + ".new");
  std::filesystem::create_directory(ViewerChoicesPath(folder).string() + ".new/x");
  EXPECT_NE(SaveViewerChoices(folder, ViewerChoices{}), SaveTrouble::kNone);
  EXPECT_EQ(LoadViewerChoices(folder, file), choices);
}

}  // namespace
}  // namespace talvo
