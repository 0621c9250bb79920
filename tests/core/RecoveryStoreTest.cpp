// Recovery copies of modified plots: written beside the program's files, never over
// the plot itself, gone once the plot is saved or closed, and found again by the
// next run with the plot they stand for.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/AppCore.h"
#include "model/StageFile.h"
#include "support/LoopbackCore.h"
#include "support/StageBuilder.h"
#include "support/TempDir.h"

namespace lumaplot {
namespace {

namespace fs = std::filesystem;

class RecoveryStoreTest : public ::testing::Test {
 protected:
  TStageData* AddPlot(TAppCore& core, const std::string& name, const std::string& title) {
    TStageData* doc = core.Documents().Add(core.NewDocument());
    doc->Title = title;
    if (!name.empty()) doc->FileName = dir.File(name);
    test::AddLight(*doc, DefaultLibItem(), 30, 40, 7);
    return doc;
  }
  std::vector<fs::path> Copies() const {
    std::vector<fs::path> copies;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir.File("Recovery"), ec)) {
      copies.push_back(entry.path());
    }
    return copies;
  }

  test::TempDir dir;
};

TEST_F(RecoveryStoreTest, OnlyModifiedPlotsHaveCopiesAndSavedOrClosedOnesLoseThem) {
  TAppCore core(test::LoopbackCoreSetup(dir.Path()));
  TStageData* saved = AddPlot(core, "saved.dat", "Saved");
  TStageData* edited = AddPlot(core, "edited.dat", "Edited");
  TStageData* untitled = AddPlot(core, "", "");
  saved->Modified = false;
  edited->Modified = true;
  untitled->Modified = true;
  ASSERT_TRUE(core.Recovery().Update(core.Documents()));
  EXPECT_EQ(Copies().size(), 2u);
  EXPECT_FALSE(fs::exists(dir.File("edited.dat")));  // the plot's own file is not touched

  edited->Modified = false;  // saved in the meantime
  ASSERT_TRUE(core.Recovery().Update(core.Documents()));
  EXPECT_EQ(Copies().size(), 1u);
  core.CloseDocument(untitled);
  EXPECT_TRUE(Copies().empty());
}

TEST_F(RecoveryStoreTest, TheNextRunFindsTheCopiesAndRestoresThePlotTheyStandFor) {
  {
    TAppCore crashed(test::LoopbackCoreSetup(dir.Path()));
    TStageData* doc = AddPlot(crashed, "stage plot.dat", "舞台");
    doc->Modified = true;
    AddPlot(crashed, "", "")->Modified = true;
    ASSERT_TRUE(crashed.Recovery().Update(crashed.Documents()));
    // Destroyed without saving or forgetting, as a killed program leaves things.
  }
  TAppCore core(test::LoopbackCoreSetup(dir.Path()));
  const std::vector<TRecoveryStore::TCopy> found = core.Recovery().Found();
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].FileName, dir.File("stage plot.dat"));
  EXPECT_EQ(found[0].Title, "舞台");
  EXPECT_EQ(found[1].FileName, "");

  std::unique_ptr<TStageData> restored = core.RestoreCopy(found[0]);
  ASSERT_NE(restored, nullptr);
  EXPECT_EQ(restored->FileName, dir.File("stage plot.dat"));
  EXPECT_EQ(restored->Title, "舞台");
  EXPECT_TRUE(restored->Modified);
  ASSERT_EQ(restored->Objects.size(), 1u);
  EXPECT_EQ(restored->Objects.front()->StartCh, 7);
  TStageData* doc = core.Documents().Add(std::move(restored));
  // The restored plot owns its copy: it is not offered again, and saving it removes it.
  EXPECT_EQ(core.Recovery().Found().size(), 1u);
  TRecoveryStore::Discard(found[1].Path);
  doc->Modified = false;
  core.Recovery().Update(core.Documents());
  EXPECT_TRUE(Copies().empty());
}

TEST_F(RecoveryStoreTest, ACopyThatCannotBeWrittenIsReportedAndTheOthersAreWritten) {
  TAppCore core(test::LoopbackCoreSetup(dir.Path()));
  AddPlot(core, "a.dat", "A")->Modified = true;
  // A folder where the copies' folder should be: nothing can be written there.
  dir.Write("Recovery", "not a folder");
  std::string error;
  EXPECT_FALSE(core.Recovery().Update(core.Documents(), &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace lumaplot
