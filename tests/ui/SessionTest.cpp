// How a session with the main window ends and begins again: a kill or a logout
// closes the program as an exit does and keeps the unsaved plots as recovery copies,
// which the next start offers back; a normal exit that declines to save leaves no
// copy. Also where hints go in the status bar and where the test fader sits.
#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSlider>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>

#include <signal.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "model/StageFile.h"
#include "support/LoopbackCore.h"
#include "support/StageBuilder.h"
#include "support/TempDir.h"
#include "support/TestApplication.h"
#include "ui/main/LumaplotForm.h"
#include "ui/main/MainBars.h"
#include "ui/main/commands/OptionCommands.h"
#include "util/IniFile.h"

namespace lumaplot {
namespace {

namespace fs = std::filesystem;
using Button = QMessageBox::StandardButton;

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override { test::TestApplication(); }
  void TearDown() override { Stop(); }

  TLumaplotForm& Start() {
    core = std::make_unique<TAppCore>(test::LoopbackCoreSetup(dir.Path()));
    TMainFormSetup setup;
    setup.AskMissingType = [](const std::string& name) { return name; };
    setup.Prompts.YesNo = [this](const QString& text, const QString&) {
      questions << text;
      const bool yes = !restoreAnswers.empty() && restoreAnswers.front();
      if (!restoreAnswers.empty()) restoreAnswers.pop_front();
      return yes;
    };
    setup.Prompts.YesNoCancel = [this](const QString& text, const QString&) {
      questions << text;
      return Button(QMessageBox::No);
    };
    setup.Prompts.Error = [](const QString&, const QString&) {};
    form = std::make_unique<TLumaplotForm>(*core, std::move(setup));
    form->show();
    QApplication::processEvents();
    return *form;
  }
  void Stop() {
    if (form) form->hide();
    form.reset();
    core.reset();
  }

  std::string WritePlot(const std::string& name, const std::string& title) {
    TStageData doc;
    doc.Title = title;
    test::AddLight(doc, DefaultLibItem(), 20, 20, 0);
    doc.FileName = dir.File(name);
    EXPECT_TRUE(SaveStage(doc, false));
    return doc.FileName;
  }
  size_t CopyCount() const {
    std::error_code ec;
    size_t count = 0;
    for (const auto& entry : fs::directory_iterator(dir.File("Recovery"), ec)) {
      count += entry.is_regular_file();
    }
    return count;
  }

  test::TempDir dir;
  std::unique_ptr<TAppCore> core;
  std::unique_ptr<TLumaplotForm> form;
  QStringList questions;
  std::deque<bool> restoreAnswers;
};

TEST_F(SessionTest, AnEndedSessionKeepsUnsavedPlotsForTheNextStartWhichOffersThemBack) {
  const std::string plot = WritePlot("show.dat", "Show");
  dir.Write("lumaplot.INI", "[General]\r\nLastFile1=" + plot + "\r\n");
  TLumaplotForm& f = Start();
  ASSERT_EQ(core->Documents().Count(), 1);
  TStageData& doc = *core->CurrentDoc();
  doc.Objects.front()->X1 = 300;
  doc.Modified = true;
  f.EndSession();
  EXPECT_FALSE(f.isVisible());
  EXPECT_TRUE(questions.empty());  // no question when the session ends
  EXPECT_EQ(CopyCount(), 1u);
  EXPECT_TRUE(IniFile(dir.File("lumaplot.INI")).Load());
  {
    IniFile settings(dir.File("lumaplot.INI"));
    settings.Load();
    EXPECT_EQ(settings.ReadString("General", "LastFile1", "?"), plot);
    EXPECT_TRUE(settings.KeyExists("General", "WinWidth"));
  }
  Stop();

  restoreAnswers = {true};
  Start();
  ASSERT_EQ(questions.size(), 1);
  EXPECT_TRUE(questions[0].startsWith("[Show] "));
  EXPECT_TRUE(questions[0].endsWith("復元しますか"));
  // The restored plot stands for its file; the file itself is not opened a second time.
  ASSERT_EQ(core->Documents().Count(), 1);
  TStageData& restored = *core->CurrentDoc();
  EXPECT_EQ(restored.FileName, plot);
  EXPECT_TRUE(restored.Modified);
  EXPECT_EQ(restored.Objects.front()->X1, 300);
  Stop();
  EXPECT_EQ(CopyCount(), 1u);  // still kept: nothing was saved or declined
}

TEST_F(SessionTest, ADeclinedCopyIsRemovedAndAnExitWithoutSavingLeavesNone) {
  TLumaplotForm& f = Start();
  f.Action(TActionId::FileNew)->trigger();
  core->CurrentDoc()->Modified = true;
  f.KeepRecoveryCopies();
  EXPECT_EQ(CopyCount(), 1u);
  Stop();  // a crash: the copy stays

  restoreAnswers = {false};
  Start();
  EXPECT_EQ(questions.size(), 1);
  EXPECT_EQ(core->Documents().Count(), 0);
  EXPECT_EQ(CopyCount(), 0u);

  form->Action(TActionId::FileNew)->trigger();
  core->CurrentDoc()->Modified = true;
  form->KeepRecoveryCopies();
  ASSERT_EQ(CopyCount(), 1u);
  EXPECT_TRUE(form->close());  // "No" to saving
  EXPECT_EQ(CopyCount(), 0u);
}

TEST_F(SessionTest, HintsGoToTheLastPanelAndLeaveTheSignalStateVisible) {
  TLumaplotForm& f = Start();
  f.Timer1Timer();
  const QString signal = f.StatusText(1);
  ASSERT_FALSE(signal.isEmpty());
  QStatusTipEvent hover("開く");
  QApplication::sendEvent(&f, &hover);
  EXPECT_EQ(f.StatusText(3), "開く");
  EXPECT_EQ(f.StatusText(1), signal);
  EXPECT_TRUE(f.statusBar()->currentMessage().isEmpty());
  QStatusTipEvent leave("");
  QApplication::sendEvent(&f, &leave);
  EXPECT_EQ(f.StatusText(3), "");
}

TEST_F(SessionTest, TheTestFaderSitsAtTheRightEndOfTheControlBar) {
  dir.Write("lumaplot.INI",
            "[General]\r\nDebugMode=1\r\nLastFile1=" + WritePlot("a.dat", "A") + "\r\n");
  TLumaplotForm& f = Start();
  f.resize(1200, 800);
  OptTestModeExecute(f.Context());
  QApplication::processEvents();
  QSlider* fader = f.Bars().DebugBar();
  ASSERT_TRUE(fader->isVisible());
  const int right = fader->mapTo(&f, QPoint(fader->width(), 0)).x();
  EXPECT_GT(right, f.width() - 40);
}

// The real program, killed as a logout or a shutdown does: it ends with status 0 and
// writes its settings as at exit.
TEST(SessionEnd, TerminatedProgramClosesAsAnExitDoes) {
  test::TempDir runtime;
  test::TempDir home;
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.Path()));
  environment.insert("LUMAPLOT_HOME", QString::fromStdString(home.Path()));
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("LUMAPLOT_ARTNET_BIND", "127.0.0.1");
  environment.insert("LUMAPLOT_ARTNET_PORT", "0");
  environment.insert("LUMAPLOT_ARTNET_DEST", "127.0.0.1");
  program.setProcessEnvironment(environment);
  program.start(LUMAPLOT_GUI_PATH, {});
  ASSERT_TRUE(program.waitForStarted(10000));
  // Up once the recorder folder exists and the first showing has run its course.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!fs::exists(home.File("HdrData")) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
  ASSERT_TRUE(program.waitForFinished(20000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
  IniFile settings(home.File("lumaplot.INI"));
  ASSERT_TRUE(settings.Load());
  EXPECT_TRUE(settings.KeyExists("General", "WinWidth"));
  EXPECT_TRUE(settings.KeyExists("ShortCut", "FileOpenItem"));
}

}  // namespace
}  // namespace lumaplot
