#include "ui/qt/WindowState.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "support/TestApplication.h"
#include "util/IniFile.h"

namespace lumaplot {
namespace {

class WindowState : public ::testing::Test {
 protected:
  void SetUp() override { test::TestApplication(); }
  static QRect Screen() { return QGuiApplication::primaryScreen()->availableGeometry(); }
};

TEST_F(WindowState, FormPositionRoundTripThroughTheSettingsFile) {
  test::TempDir dir;
  const std::string path = dir.File("lumaplot.INI");
  {
    QWidget form;
    form.setGeometry(40, 30, 320, 240);
    IniFile ini(path);
    SaveFormPos(ini, "LtListForm", &form);
    ASSERT_TRUE(ini.Flush());
  }
  IniFile ini(path);
  ASSERT_TRUE(ini.Load());
  QWidget form;
  form.resize(100, 100);
  LoadFormPos(ini, "LtListForm", &form, 0, 0, 300, 300);
  EXPECT_EQ(form.pos(), QPoint(40, 30));
  EXPECT_EQ(form.size(), QSize(320, 240));
}

TEST_F(WindowState, FixedSizeWindowKeepsItsSizeAndIsKeptOnScreen) {
  IniFile ini;
  QWidget dialog;
  dialog.setFixedSize(200, 100);
  dialog.move(10, 20);
  SaveFormPos(ini, "StretchDlg", &dialog);
  EXPECT_FALSE(ini.KeyExists("General", "StretchDlgWidth"));

  ini.WriteInteger("General", "StretchDlgLeft", Screen().right() + 500);
  ini.WriteInteger("General", "StretchDlgWidth", 900);
  LoadFormPos(ini, "StretchDlg", &dialog, 0, 0, 300, 300);
  EXPECT_EQ(dialog.size(), QSize(200, 100));
  EXPECT_EQ(dialog.x() + dialog.width(), Screen().x() + Screen().width());
  EXPECT_EQ(dialog.y(), 20);
}

TEST_F(WindowState, MainWindowStoresNormalBoundsWhenMaximised) {
  IniFile ini;
  QWidget form;
  form.setGeometry(Screen().x() + 50, Screen().y() + 40, 400, 300);
  form.show();
  const QPoint normalCorner = form.pos();  // the frame's corner
  form.setWindowState(Qt::WindowMaximized);
  SaveMainWindow(&form, ini);
  EXPECT_EQ(ini.ReadInteger("General", "WinState", -1), 2);
  EXPECT_EQ(ini.ReadInteger("General", "WinWidth", 0), 400);
  EXPECT_EQ(ini.ReadInteger("General", "WinHeight", 0), 300);
  EXPECT_EQ(ini.ReadInteger("General", "WinLeft", 0), normalCorner.x());
  EXPECT_EQ(ini.ReadInteger("General", "WinTop", 0), normalCorner.y());

  form.setWindowState(Qt::WindowMinimized);
  SaveMainWindow(&form, ini);
  EXPECT_EQ(ini.ReadInteger("General", "WinState", -1), 0);
}

TEST_F(WindowState, MainWindowRestoresSizePositionAndState) {
  IniFile ini;
  ini.WriteInteger("General", "WinLeft", Screen().x() + 20);
  ini.WriteInteger("General", "WinTop", Screen().y() + 10);
  ini.WriteInteger("General", "WinWidth", 300);
  ini.WriteInteger("General", "WinHeight", 200);
  ini.WriteInteger("General", "WinState", 2);
  QWidget form;
  RestoreMainWindow(&form, ini, Screen().width(), Screen().height());
  EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
  form.setWindowState(Qt::WindowNoState);
  EXPECT_EQ(form.geometry(), QRect(Screen().x() + 20, Screen().y() + 10, 300, 200));
}

TEST_F(WindowState, MainWindowWithoutSettingsFillsTheScreen) {
  IniFile ini;
  QWidget form;
  form.resize(200, 100);
  RestoreMainWindow(&form, ini, Screen().width(), Screen().height());
  EXPECT_EQ(form.geometry(), Screen());
  EXPECT_FALSE(form.windowState() & Qt::WindowMaximized);
}

}  // namespace
}  // namespace lumaplot
