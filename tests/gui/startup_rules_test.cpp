// The start-up decisions, bare: which announcements stop this copy, and where
// the save location starts.
#include "app/startup_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Announcement {
  std::string text;
  bool stops;
};

class AnnouncementTest : public ::testing::TestWithParam<Announcement> {};

TEST_P(AnnouncementTest, StopsOnlyForANewerNumber) {
  EXPECT_EQ(taotu::app::AnnouncesNewerVersion(GetParam().text), GetParam().stops)
      << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Versions, AnnouncementTest,
                         ::testing::Values(Announcement{"8.2", false}, Announcement{"8.20", false},
                                           Announcement{"8", false}, Announcement{"", false},
                                           Announcement{"new", false}, Announcement{"8.2000000001", false},
                                           Announcement{"7.9", false}, Announcement{"8.3", true},
                                           Announcement{"9", true}, Announcement{"8.21", true},
                                           Announcement{" 8.3\r\n", true}, Announcement{"9abc", true}));

TEST(StartSaveFolder, ArchiverFolderGivesTheStandIn) {
  using taotu::app::StartSaveFolder;
  EXPECT_EQ(StartSaveFolder("/home/u/apps", "/home/u"), "/home/u/apps");
  EXPECT_EQ(StartSaveFolder("/tmp/Rar$EXa1.234/taotu", "/home/u"), "/home/u");
  // Exact case: only the archiver's own spelling counts.
  EXPECT_EQ(StartSaveFolder("/tmp/rar$EXa1", "/home/u"), "/tmp/rar$EXa1");
}

TEST(NightSupportHour, FromSixInTheEveningToEightInTheMorning) {
  using taotu::app::NightSupportHour;
  EXPECT_TRUE(NightSupportHour(18));
  EXPECT_TRUE(NightSupportHour(23));
  EXPECT_TRUE(NightSupportHour(0));
  EXPECT_TRUE(NightSupportHour(7));
  EXPECT_FALSE(NightSupportHour(8));
  EXPECT_FALSE(NightSupportHour(17));
}

}  // namespace
