// The main window in-process: start-up with and without settings, reopening the
// last files, tabs, the window menu, the COM1 switch, the refresh tick's texts, the
// busy bracket and the questions on closing. The Art-Net engine listens on loopback
// only; message boxes and file dialogs are answered by the test.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <sys/stat.h>

#include <deque>
#include <filesystem>

#include <gtest/gtest.h>

#include "dmx/ArtnetPackets.h"
#include "dmx/UdpSocket.h"
#include "model/Selection.h"
#include "model/StageFile.h"
#include "support/FakeModemLines.h"
#include "support/FileSizeLimit.h"
#include "support/LoopbackCore.h"
#include "support/TempDir.h"
#include "support/TestApplication.h"
#include "ui/dialogs/ChgLtypeDlg.h"
#include "ui/dialogs/SplashForm.h"
#include "ui/main/LumaplotForm.h"
#include "ui/main/MainBars.h"
#include "ui/main/PageView.h"
#include "ui/main/TabControl.h"
#include "ui/main/commands/FileCommands.h"
#include "ui/main/commands/OptionCommands.h"
#include "ui/main/commands/ViewCommands.h"
#include "util/IniFile.h"

namespace lumaplot {
namespace {

using Button = QMessageBox::StandardButton;

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override { test::TestApplication(); }
  void TearDown() override {
    if (form) form->hide();
    form.reset();
    core.reset();
  }

  TCoreSetup CoreSetup() { return test::LoopbackCoreSetup(dir.Path(), &modem); }

  TMainFormSetup FormSetup() {
    TMainFormSetup setup;
    setup.Prompts.YesNoCancel = [this](const QString& text, const QString&) {
      asked.push_back(text);
      if (answers.empty()) return Button(QMessageBox::Cancel);
      const Button answer = answers.front();
      answers.pop_front();
      return answer;
    };
    setup.Prompts.Warning = [this](const QString& text, const QString&) { warnings << text; };
    // The engine's start-up warning depends on the host's addresses; it is left out.
    setup.Prompts.Error = [this](const QString& text, const QString& caption) {
      if (caption != "ArtNet初期化エラー") errors << caption + ":" + text;
    };
    setup.Prompts.Info = [](const QString&, const QString&) {};
    setup.Prompts.OpenFileName = [this](const TFileDialogRequest& request) {
      return NextFile(request);
    };
    setup.Prompts.SaveFileName = [this](const TFileDialogRequest& request) {
      return NextFile(request);
    };
    setup.Prompts.Beep = [this] { ++beeps; };
    setup.Splash = splash;
    // "*default*" is never a library type, so every plot here asks about it.
    setup.AskMissingType = [this](const std::string& name) {
      missingTypes.push_back(name);
      return name;
    };
    if (askWithDialog) setup.AskMissingType = nullptr;
    return setup;
  }

  QString NextFile(const TFileDialogRequest& request) {
    dialogs.push_back(request);
    if (onDialog) onDialog();
    if (files.empty()) return {};
    const QString file = files.front();
    files.pop_front();
    return file;
  }

  std::string SettingsPath() const { return dir.File("lumaplot.INI"); }
  void WriteSettings(const std::string& text) { dir.Write("lumaplot.INI", text); }
  IniFile SavedSettings() const {
    IniFile ini(SettingsPath());
    ini.Load();
    return ini;
  }

  // A stage file with `lights` lights patched one after the other from channel 0.
  std::string WritePlot(const std::string& name, const std::string& title, int lights = 1) {
    TStageData doc;
    doc.Title = title;
    for (int i = 0; i < lights; ++i) {
      TLightCell* light = NewCell();
      light->X1 = 20 + 30 * (i % 20);
      light->Y1 = 20 + 30 * (i / 20);
      light->StartCh = 3 * i;
      doc.AddObject(light);
    }
    doc.FileName = dir.File(name);
    EXPECT_TRUE(SaveStage(doc, true));
    return doc.FileName;
  }

  // `beforeShow` runs between the window's creation and its first showing, as
  // start-up creates the dialogs there.
  TLumaplotForm& Start(const std::function<void(TLumaplotForm&)>& beforeShow = {}) {
    core = std::make_unique<TAppCore>(CoreSetup());
    form = std::make_unique<TLumaplotForm>(*core, FormSetup());
    if (beforeShow) beforeShow(*form);
    form->show();
    QApplication::processEvents();
    return *form;
  }

  // Closes the window as the user would; true when it closed.
  bool CloseWindow() { return form->close(); }

  QString Caption() const { return form->windowTitle(); }
  QString TabText(int index) const { return form->TabControl1()->Tabs()->tabText(index); }
  int CurrentTab() const { return form->TabControl1()->Tabs()->currentIndex(); }

  test::TempDir dir;
  std::unique_ptr<TAppCore> core;
  std::unique_ptr<TLumaplotForm> form;
  test::FakeModemLines* modem = nullptr;
  std::vector<QString> asked;
  std::deque<Button> answers;
  QStringList warnings;
  QStringList errors;
  std::deque<QString> files;
  std::vector<TFileDialogRequest> dialogs;
  std::function<void()> onDialog;
  int beeps = 0;
  QPointer<TSplashForm> splash;
  std::vector<std::string> missingTypes;
  bool askWithDialog = false;
};

TEST_F(MainFormTest, StartsWithoutSettingsFile) {
  TLumaplotForm& f = Start();
  EXPECT_EQ(core->Documents().Count(), 0);
  EXPECT_EQ(core->CurrentDoc(), nullptr);
  EXPECT_EQ(Caption(), "Lumaplot");
  EXPECT_EQ(f.StatusText(0), " 0/0");
  EXPECT_FALSE(f.Busy());
  EXPECT_TRUE(f.Timer1()->isActive());
  EXPECT_EQ(f.Timer1()->interval(), 50);
  EXPECT_TRUE(core->Engine().Ready());
  EXPECT_TRUE(core->Engine().InEnabled[7]);
  EXPECT_EQ(core->Engine().InAddr[0], 8);
  EXPECT_TRUE(f.Action(TActionId::FileNew)->isEnabled());
  EXPECT_TRUE(f.Action(TActionId::FileOpen)->isEnabled());
  EXPECT_FALSE(f.Action(TActionId::FileSave)->isEnabled());
  EXPECT_FALSE(f.Action(TActionId::FileClose)->isEnabled());
  EXPECT_FALSE(f.Action(TActionId::OptTestMode)->isEnabled());
  EXPECT_EQ(f.Action(TActionId::FileOpen)->shortcut(), QKeySequence("Ctrl+O"));
  EXPECT_EQ(f.Edit().AddTemplate.Fixture.Name, "*default*");
  EXPECT_EQ(f.Edit().AddTemplate.StartCh, 0);
  EXPECT_FALSE(f.Bars().ToolBar(0)->isHidden());
  EXPECT_TRUE(f.Bars().DebugBar()->parentWidget()->isHidden());
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("HdrData")));
  // The channel and type lists of the tool bars.
  ASSERT_EQ(f.Bars().ChCombo()->count(), 4096);
  EXPECT_EQ(f.Bars().ChCombo()->itemText(4095), "H512");
  ASSERT_EQ(f.Bars().FindChCombo()->count(), 4097);
  EXPECT_EQ(f.Bars().FindChCombo()->itemText(4096), "All");
  EXPECT_EQ(f.Bars().FindMaskCombo()->itemText(0), "All");
  EXPECT_FALSE(f.Bars().ChCombo()->isEnabled());
}

TEST_F(MainFormTest, ReopensTheLastFilesAndSkipsMissingOnes) {
  const std::string main = WritePlot("main.dat", "Main");
  const std::string side = WritePlot("side plot.dat", "");
  WriteSettings("[General]\r\nLastFile1=" + dir.File("gone.dat") + "\r\nLastFile2=" + main +
                "\r\nLastFile3=\"" + side + "\"\r\n");
  TLumaplotForm& f = Start();
  ASSERT_EQ(core->Documents().Count(), 2);
  EXPECT_EQ(core->CurrentDoc(), core->Documents().At(0));
  EXPECT_EQ(core->Documents().At(1)->FileName, side);
  EXPECT_EQ(CurrentTab(), 0);
  EXPECT_EQ(TabText(0), "Main");
  EXPECT_EQ(TabText(1), " データ2 ");
  EXPECT_EQ(Caption(), QString::fromStdString("Lumaplot [Main: " + main + "]"));
  EXPECT_EQ(f.StatusText(0), " 1/2");
  EXPECT_TRUE(f.Action(TActionId::FileSave)->isEnabled());
  // The first free channel of the current plot (its light takes 0 ... 2).
  EXPECT_EQ(f.Bars().ChCombo()->currentIndex(), 3);
  // The view scrolls over the current document's page.
  EXPECT_EQ(f.ScrollBox()->PageSize(), QSize(800, 600));
}

TEST_F(MainFormTest, RelativeLastFilesAreFoundInTheProgramFolder) {
  WritePlot("demo.dat", "Demo");
  WriteSettings("[General]\r\nLastFile1=demo.dat\r\n");
  Start();
  ASSERT_EQ(core->Documents().Count(), 1);
  EXPECT_EQ(core->CurrentDoc()->FileName, dir.File("demo.dat"));
}

TEST_F(MainFormTest, LastFilesAreNotReopenedWhenTheSettingSaysSo) {
  WriteSettings("[General]\r\nOpenLastData=0\r\nLastFile1=" + WritePlot("a.dat", "A") + "\r\n");
  Start();
  EXPECT_EQ(core->Documents().Count(), 0);
}

TEST_F(MainFormTest, ReadsLayoutIntervalAndShortcutsFromTheSettings) {
  WriteSettings(
      "[General]\r\nShowTab=0\r\nTabPos=1\r\nShowStatusBar=0\r\nUpdateInterval=40\r\n"
      "[ToolBar]\r\nShowTool2=0\r\n"
      "[ShortCut]\r\nFileOpenItem=Ctrl+F5\r\nFileSaveItem=\"\"\r\nHelpContentsItem=Nonsense\r\n");
  TLumaplotForm& f = Start();
  EXPECT_FALSE(f.TabControl1()->TabsVisible());
  EXPECT_EQ(f.TabControl1()->TabPosition(), 1);
  EXPECT_TRUE(f.statusBar()->isHidden());
  EXPECT_EQ(f.Timer1()->interval(), 40);
  EXPECT_FALSE(f.Bars().ToolBar(0)->isHidden());
  EXPECT_TRUE(f.Bars().ToolBar(1)->isHidden());
  EXPECT_FALSE(f.Bars().ToolBarShown(1));
  EXPECT_EQ(f.Action(TActionId::FileOpen)->shortcut(), QKeySequence("Ctrl+F5"));
  // An empty text takes the built-in shortcut; an unknown key gives none.
  EXPECT_EQ(f.Action(TActionId::FileSave)->shortcut(), QKeySequence("Ctrl+S"));
  EXPECT_TRUE(f.Action(TActionId::HelpContents)->shortcut().isEmpty());
}

TEST_F(MainFormTest, ClosingWritesTheStateBack) {
  const std::string a = WritePlot("a.dat", "A");
  const std::string b = WritePlot("b.dat", "B");
  WriteSettings("[General]\r\nLastFile1=" + a + "\r\nLastFile5=x\r\n");
  TLumaplotForm& f = Start();
  ASSERT_EQ(core->Documents().Count(), 1);
  f.FilesDropped({b});
  FileNewItemClick(f.Context());
  ShowTabItemClick(f.Context(), 2);
  ShowToolItemClick(f.Context(), 2);
  f.Action(TActionId::ShowSttBar)->trigger();
  f.Action(TActionId::FileOpen)->setShortcut(QKeySequence("Ctrl+F5"));
  ASSERT_TRUE(CloseWindow());
  EXPECT_FALSE(core->Engine().InEnabled[0]);
  EXPECT_FALSE(f.Timer1()->isActive());

  const IniFile ini = SavedSettings();
  EXPECT_EQ(ini.ReadString("General", "LastFile1", "?"), a);
  EXPECT_EQ(ini.ReadString("General", "LastFile2", "?"), b);
  EXPECT_EQ(ini.ReadString("General", "LastFile3", "?"), "");
  EXPECT_EQ(ini.ReadString("General", "LastFile5", "?"), "");
  EXPECT_EQ(ini.ReadInteger("General", "TabPos", -1), 1);
  EXPECT_EQ(ini.ReadInteger("General", "ShowTab", -1), 1);
  EXPECT_EQ(ini.ReadInteger("General", "ShowStatusBar", -1), 0);
  EXPECT_EQ(ini.ReadInteger("General", "UpdateInterval", -1), 50);
  EXPECT_TRUE(ini.KeyExists("General", "WinWidth"));
  EXPECT_EQ(ini.ReadInteger("ToolBar", "ShowTool3", -1), 0);
  EXPECT_EQ(ini.ReadInteger("ToolBar", "Tool1Floating", -1), 0);
  EXPECT_TRUE(ini.KeyExists("ToolBar", "Tool2Left"));
  EXPECT_TRUE(ini.KeyExists("ToolBar", "CtrlBarHeight"));
  EXPECT_EQ(ini.ReadString("ShortCut", "FileOpenItem", "?"), "Ctrl+F5");
  EXPECT_EQ(ini.ReadString("ShortCut", "FileSaveItem", "?"), "Ctrl+S");
  EXPECT_EQ(ini.ReadString("ShortCut", "ChgActData10Item", "?"), "");
}

TEST_F(MainFormTest, ToolBarsComeBackWhereTheyWereLeft) {
  WriteSettings(
      "[ToolBar]\r\nTool1Top=30\r\nTool1Left=0\r\nTool2Top=0\r\nTool2Left=0\r\n"
      "Tool3Floating=1\r\nTool3FLeft=300\r\nTool3FTop=200\r\n");
  TLumaplotForm& f = Start();
  EXPECT_TRUE(f.Bars().ToolBar(2)->isFloating());
  EXPECT_EQ(f.Bars().ToolBar(2)->pos(), QPoint(300, 200));
  // Tool bar 2 was stored in the first row, tool bar 1 in the second.
  EXPECT_LT(f.Bars().ToolBar(1)->y(), f.Bars().ToolBar(0)->y());
  ASSERT_TRUE(CloseWindow());
  const IniFile ini = SavedSettings();
  EXPECT_EQ(ini.ReadInteger("ToolBar", "Tool3Floating", -1), 1);
  EXPECT_EQ(ini.ReadInteger("ToolBar", "Tool3FLeft", -1), 300);
  EXPECT_EQ(ini.ReadInteger("ToolBar", "Tool3FRight", -1), 300 + f.Bars().ToolBar(2)->width());
  EXPECT_LT(ini.ReadInteger("ToolBar", "Tool2Top", -1), ini.ReadInteger("ToolBar", "Tool1Top", -1));
}

TEST_F(MainFormTest, TabsWindowMenuAndSwitchCommandsChangeTheCurrentDocument) {
  const std::string b = WritePlot("b.dat", "");
  WriteSettings("[General]\r\nLastFile1=" + WritePlot("a.dat", "A") + "\r\nLastFile2=" + b +
                "\r\nLastFile3=" + WritePlot("c.dat", "C") + "\r\n");
  TLumaplotForm& f = Start();
  ASSERT_EQ(core->Documents().Count(), 3);

  f.TabControl1()->Tabs()->setCurrentIndex(2);
  EXPECT_EQ(core->CurrentDoc(), core->Documents().At(2));
  EXPECT_EQ(f.StatusText(0), " 3/3");
  EXPECT_TRUE(Caption().startsWith("Lumaplot [C: "));
  EXPECT_FALSE(f.Busy());
  EXPECT_TRUE(f.Timer1()->isActive());

  f.Window1Click();
  const QList<QAction*> items = f.WindowMenu()->actions();
  ASSERT_EQ(items.size(), 20);
  EXPECT_EQ(items[0]->text(), "&1: A");
  EXPECT_EQ(items[1]->text(), QString::fromStdString("&2: " + b));
  EXPECT_TRUE(items[2]->isChecked());
  EXPECT_FALSE(items[0]->isChecked());
  EXPECT_TRUE(items[2]->isVisible());
  EXPECT_FALSE(items[3]->isVisible());

  items[1]->trigger();
  EXPECT_EQ(core->CurrentDoc(), core->Documents().At(1));
  EXPECT_EQ(CurrentTab(), 1);
  EXPECT_EQ(TabText(1), "データ2");

  f.Action(TActionId::ChgActData1)->trigger();
  EXPECT_EQ(core->CurrentDoc(), core->Documents().At(0));
  EXPECT_EQ(CurrentTab(), 0);
  f.Action(TActionId::ChgActData5)->trigger();  // there is no fifth document
  EXPECT_EQ(core->CurrentDoc(), core->Documents().At(0));
}

TEST_F(MainFormTest, TwentyDocumentsAreTheLimit) {
  TLumaplotForm& f = Start();
  FileNewItemClick(f.Context());
  EXPECT_EQ(TabText(0), "データ1");
  f.Window1Click();
  EXPECT_EQ(f.WindowMenu()->actions()[0]->text(), "&1: ");
  for (int i = 1; i < 20; ++i) FileNewItemClick(f.Context());
  ASSERT_EQ(core->Documents().Count(), 20);
  EXPECT_EQ(core->CurrentDoc(), core->Documents().At(19));
  EXPECT_FALSE(f.Action(TActionId::FileNew)->isEnabled());
  EXPECT_FALSE(f.Action(TActionId::FileOpen)->isEnabled());
  FileNewItemClick(f.Context());
  FileOpenItemClick(f.Context());
  f.FilesDropped({WritePlot("one more.dat", "")});
  EXPECT_EQ(core->Documents().Count(), 20);
  EXPECT_EQ(warnings,
            QStringList({"これ以上作成できません", "これ以上開けません", "これ以上開けません"}));
  EXPECT_TRUE(dialogs.empty());
  f.Window1Click();
  const QList<QAction*> items = f.WindowMenu()->actions();
  EXPECT_EQ(items[9]->text(), "&0: ");
  EXPECT_EQ(items[10]->text(), "   ");
  EXPECT_TRUE(items[19]->isVisible());
}

TEST_F(MainFormTest, DroppedPlotsOpenUntilTheLimitAndUnreadableOnesBeep) {
  TLumaplotForm& f = Start();
  for (int i = 0; i < 18; ++i) FileNewItemClick(f.Context());
  const std::string a = WritePlot("a.dat", "A");
  const std::string b = WritePlot("b.DAT", "B");
  dir.Write("notes.txt", "not a plot");
  // Larger than any stage file may be, so it does not load.
  const std::string huge = dir.File("huge.dat");
  std::filesystem::resize_file(dir.Write("huge.dat", ""), kMaxStageFileBytes + 1);
  f.FilesDropped({huge, dir.File("notes.txt"), a, b, WritePlot("c.dat", "C")});
  EXPECT_EQ(beeps, 1);
  ASSERT_EQ(core->Documents().Count(), 20);
  EXPECT_EQ(core->Documents().At(18)->FileName, a);
  EXPECT_EQ(core->CurrentDoc(), core->Documents().At(19));
  EXPECT_EQ(warnings, QStringList({"これ以上開けません"}));
  EXPECT_EQ(f.StatusText(0), " 20/20");
}

TEST_F(MainFormTest, Com1LinesChooseTheDocument) {
  WriteSettings("[General]\r\nUseCom1Switch=1\r\nCom1Device=/dev/ttyTEST\r\nLastFile1=" +
                WritePlot("a.dat", "A") + "\r\nLastFile2=" + WritePlot("b.dat", "B") +
                "\r\nLastFile3=" + WritePlot("c.dat", "C") + "\r\n");
  TLumaplotForm& f = Start();
  ASSERT_NE(modem, nullptr);
  EXPECT_EQ(modem->OpenedDevice, "/dev/ttyTEST");
  EXPECT_EQ(modem->RtsRaised, 1);
  const struct {
    ModemStatus lines;
    int document;
  } steps[] = {
      {{.Dsr = true}, 1},
      {{.Cts = true, .Dsr = true}, 0},  // CTS wins
      {{.Dsr = true}, 1},               // CTS off: DSR is now the first line on
      {{.Ring = true}, 2},
      {{.Rlsd = true}, 2},  // a fourth document is not open
      {{}, 2},
  };
  for (const auto& step : steps) {
    modem->Lines = step.lines;
    f.Timer1Timer();
    EXPECT_EQ(core->CurrentDoc(), core->Documents().At(step.document));
    EXPECT_EQ(CurrentTab(), step.document);
  }
  // A line held on does not fight a tab chosen by hand.
  modem->Lines = {.Cts = true};
  f.Timer1Timer();
  f.TabControl1()->Tabs()->setCurrentIndex(2);
  f.Timer1Timer();
  EXPECT_EQ(core->CurrentDoc(), core->Documents().At(2));
  modem->ReadFails = true;
  modem->Lines = {.Dsr = true};
  f.Timer1Timer();
  EXPECT_EQ(core->CurrentDoc(), core->Documents().At(2));
}

TEST_F(MainFormTest, Com1IsLeftClosedUnlessTheSettingAsks) {
  TLumaplotForm& f = Start();
  EXPECT_EQ(modem, nullptr);
  EXPECT_FALSE(core->Com1Open());
  f.Timer1Timer();
}

TEST_F(MainFormTest, RefreshTickShowsLiveColoursAndTheStatusPanels) {
  WriteSettings("[General]\r\nLastFile1=" + WritePlot("a.dat", "A") + "\r\n");
  TLumaplotForm& f = Start();
  TStageData& doc = *core->CurrentDoc();
  TLightCell& light = *doc.Objects.front();
  f.Timer1Timer();
  EXPECT_EQ(f.StatusText(1), "NET:無信号");
  EXPECT_EQ(f.StatusText(2), "0個の灯体を選択中");

  SetSelected(doc, &light, true);
  f.Timer1Timer();
  EXPECT_EQ(f.StatusText(2), "*default*  Ch.=A001～A003  (  20 -   20 :   0°)");
  f.Edit().DrawingLine = true;
  SelectAll(doc, false);
  f.Timer1Timer();
  EXPECT_EQ(f.StatusText(2), "*default*  Ch.=A001～A003  (  20 -   20 :   0°)");
  f.Edit().DrawingLine = false;

  // Red on the first three channels of port address 8 (input port A), on loopback.
  UdpSocket desk;
  ASSERT_TRUE(desk.Open({0x7F000001, 0}, 0));
  const std::vector<uint8_t> levels{255, 0, 0};
  QElapsedTimer clock;
  clock.start();
  while (f.StatusText(1) != "NET:受信中(A-------)" && clock.elapsed() < 3000) {
    ASSERT_TRUE(desk.SendTo(BuildArtDmx(1, 8, levels), core->Engine().LocalEndpoint()));
    QApplication::processEvents(QEventLoop::AllEvents, 30);
    f.Timer1Timer();
  }
  EXPECT_EQ(f.StatusText(1), "NET:受信中(A-------)");
  while (light.Color != 0x0000FF && clock.elapsed() < 3000) {
    QApplication::processEvents(QEventLoop::AllEvents, 30);
    f.Timer1Timer();
  }
  EXPECT_EQ(light.Color, 0x0000FF);
  // The tick drew the light onto the page surface.
  const QImage& page = f.ScrollBox()->ScrBox()->Surface().Image();
  EXPECT_EQ(page.pixelColor(light.X1 + 10, light.Y1 + 10), QColor(255, 0, 0));

  f.Action(TActionId::OptTestMode)->trigger();
  EXPECT_TRUE(core->Engine().TestMode);
  EXPECT_TRUE(f.Action(TActionId::OptTestMode)->isChecked());
  f.Timer1Timer();
  EXPECT_EQ(f.StatusText(1), "NET:テストモード");
  f.Action(TActionId::OptTestMode)->trigger();
  EXPECT_FALSE(core->Engine().TestMode);
}

TEST_F(MainFormTest, TestFaderSetsTheTestLevelInDebugMode1) {
  WriteSettings("[General]\r\nDebugMode=1\r\nLastFile1=" + WritePlot("a.dat", "A") + "\r\n");
  TLumaplotForm& f = Start();
  EXPECT_TRUE(Caption().startsWith("Lumaplot - (デバッグモード) [A: "));
  f.Bars().DebugBar()->setValue(77);
  f.Timer1Timer();
  EXPECT_EQ(core->Env().TestLevel, 0);  // the fader is hidden
  OptTestModeExecute(f.Context());
  EXPECT_FALSE(f.Bars().DebugBar()->parentWidget()->isHidden());
  f.Timer1Timer();
  EXPECT_EQ(core->Env().TestLevel, 77);
  OptTestModeExecute(f.Context());
  EXPECT_TRUE(f.Bars().DebugBar()->parentWidget()->isHidden());
  EXPECT_TRUE(core->Engine().ClearRequest || !core->Engine().TestMode);
  f.Timer1Timer();
  EXPECT_EQ(core->Env().TestLevel, 0);
}

TEST_F(MainFormTest, BusyBracketHoldsTheTimerAndPaintingWhileADialogIsOpen) {
  WriteSettings("[General]\r\nUpdateInterval=35\r\nLastFile1=" + WritePlot("a.dat", "A") + "\r\n");
  TLumaplotForm& f = Start();
  f.ScrollBox()->ScrBox()->repaint();
  const int paints = f.PagePaintCount();
  EXPECT_GT(paints, 0);
  bool busy = false;
  bool timerOn = true;
  int paintsWhileBusy = -1;
  onDialog = [&] {
    busy = f.Busy();
    timerOn = f.Timer1()->isActive();
    f.FullRefresh();                     // marks the page stale ...
    f.ScrollBox()->ScrBox()->repaint();  // ... but it is not painted from its document
    paintsWhileBusy = f.PagePaintCount();
  };
  FileOpenItemClick(f.Context());
  EXPECT_TRUE(busy);
  EXPECT_FALSE(timerOn);
  EXPECT_EQ(paintsWhileBusy, paints);
  EXPECT_EQ(dialogs.back().Title, "開く");
  EXPECT_EQ(dialogs.back().FileName, "*.DAT");
  EXPECT_FALSE(f.Busy());
  EXPECT_TRUE(f.Timer1()->isActive());
  EXPECT_EQ(f.Timer1()->interval(), 35);
  f.ScrollBox()->ScrBox()->repaint();
  EXPECT_GT(f.PagePaintCount(), paints);
}

TEST_F(MainFormTest, OpenAddsTheChosenPlotAndReportsOneThatCannotBeRead) {
  TLumaplotForm& f = Start();
  const std::string a = WritePlot("a.dat", "A");
  files = {QString::fromStdString(a), QString::fromStdString(dir.File("missing.dat"))};
  FileOpenItemClick(f.Context());
  ASSERT_EQ(core->Documents().Count(), 1);
  EXPECT_EQ(core->CurrentDoc()->FileName, a);
  EXPECT_EQ(core->Env().LastDir, dir.Path());
  FileOpenItemClick(f.Context());
  EXPECT_EQ(core->Documents().Count(), 1);
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].contains("missing.dat"));
}

TEST_F(MainFormTest, CloseQueryAsksAboutEveryModifiedDocument) {
  const std::string a = WritePlot("a.dat", "A");
  const std::string b = WritePlot("b.dat", "B");
  WriteSettings("[General]\r\nLastFile1=" + a + "\r\nLastFile2=" + b + "\r\n");
  TLumaplotForm& f = Start();
  core->Documents().At(0)->Modified = true;
  core->Documents().At(1)->Modified = true;
  answers = {QMessageBox::Cancel, QMessageBox::No};
  EXPECT_FALSE(CloseWindow());
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0], QString::fromStdString("[" + a + "] 変更内容を保存しますか?"));
  EXPECT_EQ(asked[1], QString::fromStdString("[" + b + "] 変更内容を保存しますか?"));
  EXPECT_TRUE(f.isVisible());
  EXPECT_TRUE(f.Timer1()->isActive());

  asked.clear();
  answers = {QMessageBox::No, QMessageBox::No};
  EXPECT_TRUE(CloseWindow());
  EXPECT_EQ(asked.size(), 2u);
}

TEST_F(MainFormTest, SavingAnUntitledDocumentOnCloseNeedsAName) {
  TLumaplotForm& f = Start();
  FileNewItemClick(f.Context());
  core->CurrentDoc()->Modified = true;
  answers = {QMessageBox::Yes};
  EXPECT_FALSE(CloseWindow());  // the save dialog was cancelled
  EXPECT_EQ(asked.back(), "[ 無題 ] 変更内容を保存しますか?");
  EXPECT_EQ(dialogs.back().Title, "保存");
  const std::string saved = dir.File("new.dat");
  answers = {QMessageBox::Yes};
  files = {QString::fromStdString(saved)};
  EXPECT_TRUE(CloseWindow());
  EXPECT_TRUE(std::filesystem::exists(saved));
  EXPECT_EQ(SavedSettings().ReadString("General", "LastFile1", "?"), saved);
}

TEST_F(MainFormTest, CloseCommandAsksFirst) {
  WriteSettings("[General]\r\nLastFile1=" + WritePlot("a.dat", "A") + "\r\n");
  TLumaplotForm& f = Start();
  answers = {QMessageBox::No};
  FileCloseExecute(f.Context());
  EXPECT_EQ(asked.back(), "閉じますか");
  EXPECT_EQ(core->Documents().Count(), 1);

  core->CurrentDoc()->Modified = true;
  answers = {QMessageBox::Cancel};
  FileCloseExecute(f.Context());
  EXPECT_EQ(asked.back(), QString::fromStdString("[" + core->CurrentDoc()->FileName +
                                                 "] 変更内容を保存しますか"));
  EXPECT_EQ(core->Documents().Count(), 1);

  answers = {QMessageBox::No};
  FileCloseExecute(f.Context());
  EXPECT_EQ(core->Documents().Count(), 0);
  EXPECT_EQ(core->CurrentDoc(), nullptr);
  EXPECT_EQ(Caption(), "Lumaplot");
  EXPECT_EQ(f.StatusText(0), " 0/0");
  EXPECT_FALSE(f.Action(TActionId::FileSave)->isEnabled());
}

TEST_F(MainFormTest, ClosingAnUntitledDocumentWhoseSaveIsCancelledKeepsIt) {
  TLumaplotForm& f = Start();
  FileNewItemClick(f.Context());
  FileNewItemClick(f.Context());
  core->CurrentDoc()->Modified = true;
  answers = {QMessageBox::Yes};
  FileCloseExecute(f.Context());
  EXPECT_EQ(asked.back(), "[ 無題 ] 変更内容を保存しますか");
  EXPECT_EQ(core->Documents().Count(), 2);
  answers = {QMessageBox::No};
  FileCloseExecute(f.Context());
  ASSERT_EQ(core->Documents().Count(), 1);
  EXPECT_EQ(core->CurrentDoc(), core->Documents().At(0));
  EXPECT_EQ(CurrentTab(), 0);
}

TEST_F(MainFormTest, ReadOnlyPlotCannotBeSavedButCanBeClosed) {
  const std::string a = WritePlot("a.dat", "A");
  ASSERT_EQ(::chmod(a.c_str(), 0444), 0);
  WriteSettings("[General]\r\nLastFile1=" + a + "\r\n");
  TLumaplotForm& f = Start();
  ASSERT_TRUE(core->CurrentDoc()->EditInhibit);
  OptInhMoveExecute(f.Context());
  EXPECT_TRUE(Caption().endsWith(" : 編集禁止"));
  EXPECT_FALSE(f.Action(TActionId::FileSave)->isEnabled());
  EXPECT_FALSE(f.Action(TActionId::FileSaveAs)->isEnabled());
  FileSaveItemClick(f.Context());
  FileSaveAsItemClick(f.Context());
  EXPECT_TRUE(dialogs.empty());
  EXPECT_TRUE(f.Action(TActionId::FileClose)->isEnabled());
  answers = {QMessageBox::No};
  FileCloseExecute(f.Context());
  EXPECT_EQ(core->Documents().Count(), 0);
}

TEST_F(MainFormTest, MoveInhibitionIsToggledAndShown) {
  WriteSettings("[General]\r\nLastFile1=" + WritePlot("a.dat", "A") + "\r\n");
  TLumaplotForm& f = Start();
  f.Action(TActionId::OptInhMove)->trigger();
  EXPECT_TRUE(core->CurrentDoc()->InhibitMove);
  EXPECT_TRUE(core->CurrentDoc()->Modified);
  EXPECT_TRUE(f.Action(TActionId::OptInhMove)->isChecked());
  EXPECT_TRUE(Caption().endsWith(" : 移動禁止"));
  f.Action(TActionId::OptInhMove)->trigger();
  EXPECT_FALSE(core->CurrentDoc()->InhibitMove);
  EXPECT_FALSE(Caption().contains("禁止"));
}

TEST_F(MainFormTest, FailedSaveIsReportedAndKeepsTheDocumentModifiedAndTheOldFileWhole) {
  const std::string a = WritePlot("a.dat", "A", 200);
  WriteSettings("[General]\r\nLastFile1=" + a + "\r\n");
  TLumaplotForm& f = Start();
  TStageData& doc = *core->CurrentDoc();
  doc.Modified = true;
  files = {QString::fromStdString(dir.File("no/such/folder/b.dat"))};
  FileSaveAsItemClick(f.Context());
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].contains("b.dat"));
  EXPECT_EQ(doc.FileName, a);
  EXPECT_TRUE(doc.Modified);

  // A write that fails half way: the file size limit holds for root too.
  const std::string before = test::TempDir::Read(a);
  doc.Title = "changed";
  {
    test::FileSizeLimit limit(1024);
    FileSaveItemClick(f.Context());
  }
  EXPECT_EQ(errors.size(), 2);
  EXPECT_TRUE(doc.Modified);
  EXPECT_EQ(test::TempDir::Read(a), before);

  FileSaveItemClick(f.Context());
  EXPECT_EQ(errors.size(), 2);
  EXPECT_FALSE(doc.Modified);
  EXPECT_NE(test::TempDir::Read(a), before);
}

TEST_F(MainFormTest, SaveAsGivesTheDocumentItsNewName) {
  TLumaplotForm& f = Start();
  FileNewItemClick(f.Context());
  const std::string target = dir.File("plot.dat");
  files = {QString::fromStdString(target)};
  f.Action(TActionId::FileSave)->trigger();  // without a name, Save asks for one
  EXPECT_EQ(core->CurrentDoc()->FileName, target);
  EXPECT_TRUE(std::filesystem::exists(target));
  EXPECT_EQ(Caption(), QString::fromStdString("Lumaplot [" + target + "]"));
  EXPECT_EQ(dialogs.back().Filter, "データ (*.dat)|*.DAT");
  EXPECT_EQ(dialogs.back().DefaultExt, "DAT");
  EXPECT_EQ(core->Env().LastDir, dir.Path());
  FileSaveAsItemClick(f.Context());
  EXPECT_EQ(dialogs.back().FileName, "plot.dat");
}

}  // namespace
}  // namespace lumaplot

namespace lumaplot {
namespace {

TEST_F(MainFormTest, FilesDroppedOnTheWindowOpenAfterTheDrop) {
  TLumaplotForm& f = Start();
  const std::string a = WritePlot("a.dat", "A");
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(a)), QUrl("https://example.org/x.dat")});
  const QPoint where(f.width() / 2, f.height() / 2);
  QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&f, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(where), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&f, &drop);
  EXPECT_EQ(core->Documents().Count(), 0);  // not while the drop is still going on
  QApplication::processEvents();
  ASSERT_EQ(core->Documents().Count(), 1);
  EXPECT_EQ(core->CurrentDoc()->FileName, a);
}

TEST_F(MainFormTest, MissingTypesAreAskedForWithTheSplashOutOfTheWay) {
  dir.Write("LIBRARY.INI", "[Define001]\r\nName=LED\r\nChannels=3\r\n");
  dir.Write("odd.dat", "[LightData]\r\n1,10,10,0,0x1fffffff,Mystery,0x00000006,\r\n");
  WriteSettings("[General]\r\nLastFile1=odd.dat\r\n");
  splash = new TSplashForm;
  splash->SetDisplayTime(0);
  splash->show();
  bool splashShownWhileAsked = true;
  QString question;
  askWithDialog = true;
  Start([&](TLumaplotForm& f) {
    auto* dialog = &f.Dialogs().Get<TChgLtypeDlg>();
    QTimer::singleShot(0, dialog, [&, dialog] {
      splashShownWhileAsked = splash && splash->isVisible();
      question = dialog->findChild<QLabel*>("MsgLabel")->text();
      dialog->findChild<QComboBox*>("LightCombo")->setCurrentIndex(0);
      dialog->accept();
    });
  });
  EXPECT_EQ(question, "[Mystery] は未定義のタイプです");
  EXPECT_FALSE(splashShownWhileAsked);
  ASSERT_EQ(core->Documents().Count(), 1);
  EXPECT_EQ(core->CurrentDoc()->Objects.front()->Fixture.Name, "LED");
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(splash.isNull() || !splash->isVisible());
}

TEST_F(MainFormTest, HiddenTitleMeansFullScreenWithoutMenuWhenMaximised) {
  WriteSettings("[General]\r\nHideTitleMenu=1\r\n");
  TLumaplotForm& f = Start();
  f.showMaximized();
  QApplication::processEvents();
  QApplication::processEvents();
  EXPECT_TRUE(f.isFullScreen());
  EXPECT_TRUE(f.menuBar()->isHidden());
  EXPECT_TRUE(f.Action(TActionId::FileOpen)->isEnabled());  // shortcuts stay with the window
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&f, &escape);
  QApplication::processEvents();
  EXPECT_FALSE(f.isFullScreen());
  EXPECT_FALSE(f.menuBar()->isHidden());
}

}  // namespace
}  // namespace lumaplot
