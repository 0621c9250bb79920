#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include "support/TestApplication.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/SplashForm.h"
#include "util/Version.h"

namespace lumaplot {
namespace {

QLabel* Label(const QWidget& form, const char* name) { return form.findChild<QLabel*>(name); }

// Handles events, deferred deletions included, until `widget` is destroyed or
// `limitMs` has passed.
bool WaitForDestruction(const QPointer<QWidget>& widget, int limitMs) {
  QElapsedTimer clock;
  clock.start();
  while (widget && clock.elapsed() < limitMs) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return widget.isNull();
}

class SplashAbout : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    QApplication::setApplicationName("Lumaplot");
  }
  void TearDown() override { QApplication::setApplicationName("Lumaplot"); }
};

TEST_F(SplashAbout, SplashShowsTheTitleAndTheStartUpMessages) {
  auto* splash = new TSplashForm;
  QPointer<QWidget> alive(splash);
  EXPECT_EQ(splash->DisplayTime(), 5000);
  splash->SetDisplayTime(0);
  splash->show();
  EXPECT_EQ(splash->size(), QSize(480, 280));
  EXPECT_EQ(Label(*splash, "TitleLabel")->text(), "Lumaplot");
  EXPECT_EQ(Label(*splash, "TitleLabel")->font().pointSize(), 48);
  splash->SetMessage("初期化中...");
  EXPECT_EQ(Label(*splash, "MsgLabel")->text(), "初期化中...");
  // With DisplayTime 0 it stays until it is closed.
  EXPECT_FALSE(splash->findChild<QTimer*>("Timer1")->isActive());
  splash->close();
  EXPECT_TRUE(WaitForDestruction(alive, 2000));
}

TEST_F(SplashAbout, SplashWithALongTitleUsesTheSmallerFont) {
  QApplication::setApplicationName("Lumaplot Studio");
  TSplashForm splash;
  splash.SetDisplayTime(0);
  splash.show();
  EXPECT_EQ(Label(splash, "TitleLabel")->font().pointSize(), 36);
  splash.setAttribute(Qt::WA_DeleteOnClose, false);
}

TEST_F(SplashAbout, SplashClosesItselfAfterDisplayTime) {
  auto* splash = new TSplashForm;
  QPointer<QWidget> alive(splash);
  splash->SetDisplayTime(1);
  splash->show();
  EXPECT_TRUE(splash->findChild<QTimer*>("Timer1")->isActive());
  EXPECT_TRUE(WaitForDestruction(alive, 5000));
}

TEST_F(SplashAbout, ClickClosesTheSplash) {
  auto* splash = new TSplashForm;
  QPointer<QWidget> alive(splash);
  splash->SetDisplayTime(0);
  splash->show();
  const QPointF inside(10, 10);
  QMouseEvent press(QEvent::MouseButtonPress, inside, splash->mapToGlobal(inside), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Label(*splash, "MsgLabel"), &press);
  EXPECT_TRUE(WaitForDestruction(alive, 2000));
}

TEST_F(SplashAbout, AboutBoxShowsTheCompiledInVersion) {
  TAboutBox box;
  EXPECT_EQ(box.windowTitle(), "バージョン情報");
  EXPECT_EQ(Label(box, "Version")->text(), QString("Version ") + LUMAPLOT_VERSION_STRING);
  EXPECT_EQ(Label(box, "ProductName")->text(), "Lumaplot");
  EXPECT_FALSE(Label(box, "VirtualImage1")->pixmap().isNull());
  box.show();
  EXPECT_EQ(box.size(), QSize(338, 206));
  EXPECT_EQ(Label(box, "ProductName")->font().pointSize(), 18);
}

TEST_F(SplashAbout, AboutBoxKeepsTheDesignedFontForALongName) {
  QApplication::setApplicationName("Lumaplot Studio");
  TAboutBox box;
  box.show();
  EXPECT_EQ(Label(box, "ProductName")->text(), "Lumaplot Studio");
  EXPECT_EQ(Label(box, "ProductName")->font().pixelSize(), 19);
}

}  // namespace
}  // namespace lumaplot
