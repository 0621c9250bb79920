#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "support/TestApplication.h"
#include "ui/main/PageView.h"

namespace lumaplot {
namespace {

TEST(PageLayout, CentresAPageThatFitsAndOtherwiseFillsTheScrollableArea) {
  const struct {
    QSize page;
    QSize viewport;
    QSize box;
    bool centred;
  } cases[] = {
      {{800, 600}, {1000, 700}, {800, 600}, true},
      // Higher than the view: a vertical bar, the box as wide as what is left.
      {{800, 600}, {1000, 500}, {985, 600}, false},
      // Exactly the view's size does not fit "inside" it.
      {{800, 600}, {800, 600}, {800, 600}, false},
      // Wider than the view: the horizontal bar takes height from the view.
      {{2000, 100}, {1000, 700}, {2000, 685}, false},
      // A horizontal bar that makes a vertical one necessary too.
      {{2000, 690}, {1000, 700}, {2000, 690}, false},
      {{990, 690}, {1000, 700}, {990, 690}, true},
  };
  for (const auto& c : cases) {
    const TPageLayout layout = PageLayout(c.page, c.viewport, 15);
    EXPECT_EQ(layout.BoxSize, c.box) << c.page.width() << "x" << c.page.height();
    EXPECT_EQ(layout.Centred, c.centred) << c.page.width() << "x" << c.page.height();
  }
}

class PageViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view.resize(1000, 700);
    view.show();
    QApplication::processEvents();
  }
  void Wheel(int delta) {
    QWheelEvent event(QPointF(10, 10), view.mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &event);
  }
  QApplication& app = test::TestApplication();  // before any widget
  TPageView view;
};

TEST_F(PageViewTest, SmallPageSitsInTheMiddleInItsOwnSize) {
  view.SetPageSize({800, 600});
  QApplication::processEvents();
  EXPECT_EQ(view.viewport()->size(), QSize(1000, 700));
  EXPECT_EQ(view.ScrBox()->geometry(), QRect(100, 50, 800, 600));
  EXPECT_EQ(view.ScrBox()->Surface().Size(), QSize(800, 600));
}

TEST_F(PageViewTest, WheelScrollsSixteenPixelsANotchWhateverTheDelta) {
  view.SetPageSize({800, 2000});
  QApplication::processEvents();
  QScrollBar* bar = view.verticalScrollBar();
  ASSERT_TRUE(bar->isVisible());
  EXPECT_EQ(bar->maximum(), 2000 - view.viewport()->height());
  bar->setValue(100);
  for (int i = 0; i < 3; ++i) Wheel(120);
  EXPECT_EQ(bar->value(), 52);
  Wheel(-720);
  EXPECT_EQ(bar->value(), 68);
  // No vertical bar: the wheel does nothing.
  view.SetPageSize({800, 600});
  QApplication::processEvents();
  EXPECT_FALSE(view.verticalScrollBar()->isVisible());
}

}  // namespace
}  // namespace lumaplot
