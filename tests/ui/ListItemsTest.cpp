#include "ui/qt/ListItems.h"

#include <QComboBox>

#include <gtest/gtest.h>

#include "support/TestApplication.h"

namespace lumaplot {
namespace {

TEST(ListItems, PiecesUpToTheFirstEmptyOne) {
  struct Case {
    QString text;
    QStringList expected;
  };
  const Case cases[] = {
      {"タブ|ボタン|フラット", {"タブ", "ボタン", "フラット"}},
      {"a||b", {"a"}},
      {"a|b|", {"a", "b"}},
      {"|a", {}},
      {"", {}},
      {"200", {"200"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ItemsFromText(c.text, '|'), c.expected) << c.text.toStdString();
}

TEST(ListItems, FillAppendsToWhatTheListHolds) {
  test::TestApplication();
  QComboBox combo;
  combo.addItem("既存");
  FillItemsFromText(&combo, "ドット|実線", '|');
  ASSERT_EQ(combo.count(), 3);
  EXPECT_EQ(combo.itemText(0), "既存");
  EXPECT_EQ(combo.itemText(2), "実線");
}

}  // namespace
}  // namespace lumaplot
