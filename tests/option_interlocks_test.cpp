// The rules that tie the window's options together, run per click.
#include "job/option_interlocks.h"

#include <gtest/gtest.h>

namespace taotu {
namespace {

using job::Click;
using job::Option;
using job::OptionStates;

TEST(OptionInterlocks, StartStates) {
  const OptionStates s;
  EXPECT_TRUE(s.IsOn(Option::DownloadMain) && s.IsOn(Option::DownloadDetail) &&
              s.IsOn(Option::DownloadOther));
  EXPECT_TRUE(s.IsOn(Option::FolderPerItem) && s.IsOn(Option::ExportCsv) && s.IsOn(Option::RemoveHyperlinks));
  EXPECT_FALSE(s.IsOn(Option::TitleInFolder));
  EXPECT_TRUE(s.IsOn(Option::CompositeCsv));
  EXPECT_FALSE(s.IsOn(Option::IndependentCsv));
  EXPECT_TRUE(s.packageKindEnabled);
}

TEST(OptionInterlocks, DetailOffTakesCsvAndLinkRemovalWithIt) {
  OptionStates s;
  Click(s, Option::IndependentCsv, true);
  Click(s, Option::DownloadDetail, false);
  EXPECT_FALSE(s.exportCsv);
  EXPECT_FALSE(s.removeHyperlinks);
  EXPECT_FALSE(s.packageKindEnabled);
  EXPECT_TRUE(s.independentCsv);  // the selection itself is kept
  EXPECT_FALSE(s.compositeCsv);
}

TEST(OptionInterlocks, CsvOnBringsDetailBackButNotTheFolderOption) {
  OptionStates s;
  Click(s, Option::FolderPerItem, false);
  EXPECT_FALSE(s.exportCsv);
  EXPECT_FALSE(s.packageKindEnabled);
  Click(s, Option::DownloadDetail, false);
  Click(s, Option::ExportCsv, true);
  EXPECT_TRUE(s.downloadDetail);
  EXPECT_TRUE(s.packageKindEnabled);
  EXPECT_FALSE(s.folderPerItem);
  EXPECT_FALSE(s.removeHyperlinks);  // not brought back
}

TEST(OptionInterlocks, TitleNeedsAFolderPerItem) {
  OptionStates s;
  Click(s, Option::FolderPerItem, false);
  Click(s, Option::TitleInFolder, true);
  EXPECT_TRUE(s.folderPerItem);
  EXPECT_FALSE(s.exportCsv);  // not touched by the title rule
  EXPECT_FALSE(s.packageKindEnabled);
  Click(s, Option::FolderPerItem, false);
  EXPECT_FALSE(s.titleInFolder);
}

TEST(OptionInterlocks, CsvOffDisablesPackageKindsOnly) {
  OptionStates s;
  Click(s, Option::ExportCsv, false);
  EXPECT_FALSE(s.packageKindEnabled);
  EXPECT_TRUE(s.downloadDetail);
  EXPECT_TRUE(s.compositeCsv);
}

TEST(OptionInterlocks, AClickOnAStateAlreadyThereRunsNoRule) {
  OptionStates s;
  Click(s, Option::DownloadDetail, false);  // CSV off, radios disabled
  Click(s, Option::ExportCsv, false);       // already off: nothing
  Click(s, Option::DownloadDetail, false);  // already off: nothing
  EXPECT_FALSE(s.packageKindEnabled);
  EXPECT_FALSE(s.downloadDetail);
}

}  // namespace
}  // namespace taotu
