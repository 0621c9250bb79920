// The open documents: the limit, which one is current after removals, and what the
// tabs hear of each change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/DocumentList.h"

namespace lumaplot {
namespace {

struct RecordingListener : TDocumentList::Listener {
  void DocumentAdded(int index) override { events.push_back("add " + std::to_string(index)); }
  void DocumentRemoved(int index) override { events.push_back("remove " + std::to_string(index)); }
  void CurrentChanged() override { events.push_back("current"); }
  std::vector<std::string> events;
};

class DocumentListTest : public ::testing::Test {
 protected:
  void SetUp() override { documents.SetListener(&listener); }
  TStageData* Add() { return documents.Add(std::make_unique<TStageData>()); }

  TDocumentList documents;
  RecordingListener listener;
};

TEST_F(DocumentListTest, HoldsTwentyDocumentsAtMostAndMakesNoneCurrentByAdding) {
  for (int i = 0; i < TDocumentList::kMaxDocuments; ++i) ASSERT_NE(Add(), nullptr);
  EXPECT_TRUE(documents.Full());
  EXPECT_EQ(Add(), nullptr);
  EXPECT_EQ(documents.Count(), 20);
  EXPECT_EQ(documents.Current(), nullptr);
  EXPECT_EQ(listener.events.size(), 20u);
  EXPECT_EQ(listener.events.back(), "add 19");
}

TEST_F(DocumentListTest, RemovingMakesTheFirstRemainingDocumentCurrent) {
  TStageData* a = Add();
  TStageData* b = Add();
  TStageData* c = Add();
  ASSERT_TRUE(documents.SetCurrent(2));
  EXPECT_EQ(documents.Current(), c);
  EXPECT_EQ(documents.CurrentIndex(), 2);
  listener.events.clear();

  documents.Remove(c);
  EXPECT_EQ(documents.Current(), a);
  EXPECT_EQ(documents.IndexOf(b), 1);
  EXPECT_EQ(listener.events, (std::vector<std::string>{"remove 2", "current"}));

  TStageData stranger;
  documents.Remove(&stranger);  // not in the list: nothing happens
  EXPECT_EQ(documents.Count(), 2);

  documents.Remove(a);
  documents.Remove(b);
  EXPECT_EQ(documents.Current(), nullptr);
  EXPECT_EQ(documents.CurrentIndex(), -1);
}

TEST_F(DocumentListTest, SettingACurrentDocumentOutsideTheListChangesNothing) {
  TStageData* a = Add();
  ASSERT_TRUE(documents.SetCurrent(0));
  listener.events.clear();
  EXPECT_FALSE(documents.SetCurrent(1));
  EXPECT_FALSE(documents.SetCurrent(-1));
  EXPECT_EQ(documents.Current(), a);
  EXPECT_TRUE(listener.events.empty());
  EXPECT_EQ(documents.At(5), nullptr);
}

}  // namespace
}  // namespace lumaplot
