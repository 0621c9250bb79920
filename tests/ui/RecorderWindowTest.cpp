// The recorder window ("HDレコーダ"): which commands it offers in each state of the
// recorder, the file a recording goes to, opening a recording, saving a copy, the
// scroll bar, the end of playback, a recording stopped by a write error, and the
// captions. The engine is not started, so the test drives the recorder itself.
#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <deque>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "dmx/HdrRecorder.h"
#include "support/FileSizeLimit.h"
#include "support/LoopbackCore.h"
#include "support/RecordingBytes.h"
#include "support/TempDir.h"
#include "support/TestApplication.h"
#include "ui/dialogs/HdrToolFrm.h"
#include "ui/main/LumaplotForm.h"
#include "ui/qt/ColorConvert.h"
#include "ui/qt/Prompts.h"
#include "util/IniFile.h"

namespace lumaplot {
namespace {

constexpr int kFrame = 4096;

std::chrono::system_clock::time_point LocalMoment(int year, int month, int day, int hour,
                                                  int minute, int second, int ms) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&local)) +
         std::chrono::milliseconds(ms);
}

// While it lives, files are checked against another user's rights on this thread, so
// that a read-only folder holds for root too.
class AsAnotherUser {
 public:
  AsAnotherUser() : root_(::geteuid() == 0) {
    if (!root_) return;
    ::setfsgid(65534);
    ::setfsuid(65534);
  }
  ~AsAnotherUser() {
    if (!root_) return;
    ::setfsuid(0);
    ::setfsgid(0);
  }

 private:
  bool root_;
};

class RecorderWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    core = std::make_unique<TAppCore>(test::LoopbackCoreSetup(dir.Path()));
    prompts.Warning = [this](const QString& text, const QString&) { warnings << text; };
    prompts.Error = [this](const QString& text, const QString&) { errors << text; };
    prompts.YesNo = [this](const QString& text, const QString&) {
      asked << text;
      return yes;
    };
    prompts.OpenFileName = [this](const TFileDialogRequest& request) { return Next(request); };
    prompts.SaveFileName = [this](const TFileDialogRequest& request) { return Next(request); };
    window = std::make_unique<THdrToolFrm>(TDialogContext{*core, prompts}, nullptr);
    window->Now = [] { return LocalMoment(2024, 1, 31, 23, 59, 59, 400); };
  }
  void TearDown() override {
    window.reset();
    core.reset();
  }

  QString Next(const TFileDialogRequest& request) {
    requests.push_back(request);
    if (files.empty()) return {};
    const QString file = QString::fromStdString(files.front());
    files.pop_front();
    return file;
  }

  THdrRecorder& Recorder() { return core->Recorder(); }

  // A recording of `frames` frames of 4096 levels, frame k filled with k + 1.
  std::string WriteRecording(const std::string& name, int frames, int count = -1) {
    return dir.Write(name,
                     test::RecordingBytes(kFrame, count < 0 ? frames : count, frames, kFrame));
  }

  // Opens `path` through the window's open command.
  void Open(const std::string& path) {
    files.push_back(path);
    window->FileOpenAction()->trigger();
  }

  // Engine cycles with every level at `level`, 25 ms apart in real time.
  void Cycles(int count, std::uint8_t level = 0) {
    std::array<std::uint8_t, THdrRecorder::kMaxFrameLevels> in{};
    std::array<std::uint8_t, THdrRecorder::kMaxFrameLevels> out{};
    in.fill(level);
    for (int i = 0; i < count; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
      Recorder().TakeInput(in.data());
      Recorder().Tick(out.data());
    }
  }

  std::uint8_t OutputLevel() {
    std::array<std::uint8_t, THdrRecorder::kMaxFrameLevels> in{};
    std::array<std::uint8_t, THdrRecorder::kMaxFrameLevels> out{};
    Recorder().TakeInput(in.data());
    Recorder().Tick(out.data());
    return out[100];
  }

  QString State() {
    window->Timer1Timer();
    return window->StateLabel()->text();
  }

  std::string HdrDir() const { return core->Env().HdrDir; }

  test::TempDir dir;
  std::unique_ptr<TAppCore> core;
  TPrompts prompts;
  std::unique_ptr<THdrToolFrm> window;
  QStringList warnings;
  QStringList errors;
  QStringList asked;
  bool yes = false;
  std::deque<std::string> files;
  std::vector<TFileDialogRequest> requests;
};

// Which commands are offered, in order: open, save a copy, record, play from the
// start, play, pause, stop, and the scroll bar.
using Offered = std::array<bool, 8>;

Offered OfferedBy(const THdrToolFrm& w) {
  return {w.FileOpenAction()->isEnabled(), w.SaveAsAction()->isEnabled(),
          w.RecAction()->isEnabled(),      w.TopPlayAction()->isEnabled(),
          w.PlayAction()->isEnabled(),     w.PauseAction()->isEnabled(),
          w.StopAction()->isEnabled(),     w.PlayScrBar()->isEnabled()};
}

TEST_F(RecorderWindowTest, CommandsOfferedInEachState) {
  const std::string show = WriteRecording("show.dat", 100);
  const struct {
    const char* State;
    std::function<void()> Enter;
    Offered Expected;
    const char* Label;
  } steps[] = {
      {"no file", [] {}, {1, 1, 1, 0, 0, 0, 0, 0}, "RDY"},
      {"file chosen", [&] { Open(show); }, {1, 1, 1, 1, 1, 0, 0, 1}, "RDY"},
      {"playing", [&] { window->TopPlayAction()->trigger(); }, {0, 0, 0, 0, 0, 1, 1, 1}, "PLY"},
      {"paused", [&] { window->PauseAction()->trigger(); }, {0, 0, 0, 0, 1, 1, 1, 1}, "PLY"},
      {"resumed", [&] { window->PlayAction()->trigger(); }, {0, 0, 0, 0, 0, 1, 1, 1}, "PLY"},
      {"stopped", [&] { window->StopAction()->trigger(); }, {1, 1, 1, 1, 1, 0, 0, 1}, "RDY"},
      {"positioning",
       [&] { window->PlayScrBar()->setValue(512); },
       {1, 1, 1, 1, 1, 0, 1, 1},
       "RDY"},
      {"positioning stopped",
       [&] { window->StopAction()->trigger(); },
       {1, 1, 1, 1, 1, 0, 0, 1},
       "RDY"},
      {"waiting for a level",
       [&] { window->RecAction()->trigger(); },
       {0, 0, 0, 0, 0, 0, 1, 0},
       "STB"},
      {"recording", [&] { Cycles(2, 9); }, {0, 0, 0, 0, 0, 0, 1, 0}, "REC"},
      {"recording stopped",
       [&] { window->StopAction()->trigger(); },
       {1, 1, 1, 1, 1, 0, 0, 1},
       "RDY"},
  };
  for (const auto& step : steps) {
    step.Enter();
    EXPECT_EQ(State(), step.Label) << step.State;
    EXPECT_EQ(OfferedBy(*window), step.Expected) << step.State;
  }
  EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
  EXPECT_EQ(window->TopPlayAction()->text(), "先頭から再生");
  EXPECT_EQ(window->PlayAction()->text(), "再生");
  EXPECT_EQ(window->PauseAction()->text(), "ポーズ");
  EXPECT_EQ(window->StopAction()->text(), "停止");
  EXPECT_EQ(window->RecAction()->text(), "記録");
  EXPECT_EQ(window->FileOpenAction()->text(), "データファイルを開く");
  EXPECT_EQ(window->SaveAsAction()->text(), "名前を付けて保存(&A)");
}

// A recording started at 23:59:59.4 on 31 January 2024 goes to 20240131_235959.dat
// in the recorder folder; the label blinks "STB" until a level arrives, then "REC".
TEST_F(RecorderWindowTest, RecordingIsNamedAfterTheClock) {
  window->RecAction()->trigger();
  const std::string file = HdrDir() + "20240131_235959.dat";
  EXPECT_EQ(window->CurrentFile(), file);
  EXPECT_TRUE(Recorder().Recording());
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(window->windowTitle(), "HDR [20240131_235959.dat]");
  EXPECT_EQ(window->PlayScrBar()->value(), 0);

  std::vector<QColor> colours;
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(State(), "STB");
    colours.push_back(window->StateLabel()->palette().color(QPalette::WindowText));
  }
  // Red for five ticks, fuchsia for five.
  EXPECT_EQ(std::count(colours.begin(), colours.end(), ToQColor(0x0000FF)), 5);
  EXPECT_EQ(std::count(colours.begin(), colours.end(), ToQColor(0xFF00FF)), 5);
  Cycles(3, 0);
  EXPECT_EQ(Recorder().Position(), 0);
  Cycles(4, 200);
  EXPECT_EQ(State(), "REC");
  EXPECT_GT(Recorder().Position(), 0);
  EXPECT_EQ(window->TimeLabel()->text().toStdString(), Recorder().TimeText(Recorder().Position()));

  window->StopAction()->trigger();
  const HdrHeader header = Recorder().Header();
  EXPECT_EQ(window->windowTitle().toStdString(),
            "HDR [20240131_235959.dat (4096ch. " + Recorder().TimeText(header.FrameCount()) + ")]");

  // Another recording in the same second takes a name of its own.
  const auto size = std::filesystem::file_size(file);
  window->RecAction()->trigger();
  EXPECT_EQ(window->CurrentFile(), HdrDir() + "20240131_235959_2.dat");
  window->StopAction()->trigger();
  EXPECT_EQ(std::filesystem::file_size(file), size);
}

// A recording that cannot be made says why and leaves the window with its file.
TEST_F(RecorderWindowTest, ARecordingThatCannotStartIsReported) {
  const std::string show = WriteRecording("show.dat", 10);
  Open(show);
  core->Env().HdrDir = dir.Write("plain", "x") + "/sub/";  // a folder inside a file
  window->RecAction()->trigger();
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].startsWith("記録を開始できませんでした\n")) << errors[0].toStdString();
  EXPECT_EQ(window->CurrentFile(), show);
  EXPECT_EQ(window->windowTitle(), "HDR [show.dat]");
  EXPECT_EQ(State(), "RDY");
  EXPECT_TRUE(window->RecAction()->isEnabled());
}

TEST_F(RecorderWindowTest, OpeningAFileShowsItsLengthOrRefusesIt) {
  EXPECT_EQ(window->windowTitle(), "HDレコーダ");
  Open(dir.Write("notes.dat", std::string(600, 'x')));
  EXPECT_EQ(warnings, QStringList{"不正なデータファイルです"});
  EXPECT_EQ(window->CurrentFile(), "");
  EXPECT_EQ(window->windowTitle(), "HDレコーダ");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].Title, "データファイルを開く");
  EXPECT_EQ(requests[0].Filter, "データ(*.dat)|*.DAT");
  EXPECT_EQ(requests[0].DefaultExt, "dat");
  EXPECT_EQ(requests[0].Folder.toStdString(), HdrDir());
  EXPECT_EQ(requests[0].FileName, "*.dat");

  Open(dir.File("missing.dat"));
  EXPECT_EQ(warnings.size(), 2);

  // Two minutes by its header, whatever the file holds.
  const std::string show = WriteRecording("show.dat", 3, 6000);
  Open(show);
  EXPECT_EQ(window->CurrentFile(), show);
  EXPECT_EQ(window->windowTitle(), "HDR [show.dat (4096ch. 00:02:00.00)]");
  EXPECT_EQ(window->PlayScrBar()->value(), 0);
  window->FileOpenAction()->trigger();  // cancelled
  EXPECT_EQ(window->CurrentFile(), show);
}

TEST_F(RecorderWindowTest, SavingACopy) {
  const std::string show = WriteRecording("show.dat", 20);
  const std::string bytes = test::TempDir::Read(show);

  // Nothing to copy from a recording without frames.
  Open(WriteRecording("empty.dat", 0));
  window->SaveAsAction()->trigger();
  EXPECT_EQ(requests.size(), 1u);  // only the open dialog

  Open(show);
  const std::string copy = dir.File("copy.dat");
  files.push_back(copy);
  window->SaveAsAction()->trigger();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[2].Title, "保存");
  EXPECT_EQ(requests[2].Filter, "HDRデータ (*.dat)|*.DAT");
  EXPECT_EQ(requests[2].DefaultExt, "dat");
  EXPECT_EQ(requests[2].FileName, "show.dat");
  EXPECT_FALSE(requests[2].ConfirmOverwrite);  // the window asks itself
  EXPECT_TRUE(asked.isEmpty());
  EXPECT_EQ(test::TempDir::Read(copy), bytes);
  EXPECT_EQ(window->CurrentFile(), copy);
  EXPECT_EQ(window->windowTitle(), "HDR [copy.dat]");

  // Overwriting: No keeps the old file and the window's file, Yes replaces it.
  const std::string other = dir.Write("other.dat", "older content");
  files.push_back(other);
  yes = false;
  window->SaveAsAction()->trigger();
  EXPECT_EQ(asked, QStringList{"上書きしてもいいですか?"});
  EXPECT_EQ(test::TempDir::Read(other), "older content");
  EXPECT_EQ(window->CurrentFile(), copy);
  files.push_back(other);
  yes = true;
  window->SaveAsAction()->trigger();
  EXPECT_EQ(asked.size(), 2);
  EXPECT_EQ(test::TempDir::Read(other), bytes);
  EXPECT_EQ(window->CurrentFile(), other);
  EXPECT_TRUE(errors.isEmpty());
}

// A copy that cannot be written says why, leaves nothing under the chosen name (not
// even a part of the copy) and keeps the window's file.
TEST_F(RecorderWindowTest, ACopyThatFailsLeavesNothingBehind) {
  ::chmod(dir.Path().c_str(), 0755);
  const std::string show = WriteRecording("show.dat", 20);
  Open(show);
  const std::string locked = dir.File("locked");
  ::mkdir(locked.c_str(), 0555);
  files.push_back(locked + "/copy.dat");
  {
    AsAnotherUser nobody;
    window->SaveAsAction()->trigger();
  }
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].startsWith("失敗しました\n")) << errors[0].toStdString();
  EXPECT_TRUE(std::filesystem::is_empty(locked));
  EXPECT_EQ(window->CurrentFile(), show);
  EXPECT_EQ(window->windowTitle(), "HDR [show.dat]");

  // Half way: the disk fills up after the first frames.
  const std::string half = dir.File("half.dat");
  files.push_back(half);
  {
    test::FileSizeLimit limit(512 + 3 * kFrame);
    window->SaveAsAction()->trigger();
  }
  ASSERT_EQ(errors.size(), 2);
  EXPECT_TRUE(errors[1].startsWith("失敗しました\n"));
  EXPECT_FALSE(std::filesystem::exists(half));
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    EXPECT_EQ(entry.path().filename().string().find("half"), std::string::npos) << entry.path();
  }
  EXPECT_EQ(window->CurrentFile(), show);
}

// Moving the bar while stopped shows the frame at its place; moving the focus to
// another control ends that. Playing starts at the bar's place.
TEST_F(RecorderWindowTest, TheScrollBarPositionsAndStartsPlayback) {
  Open(WriteRecording("show.dat", 100));
  window->PlayScrBar()->setValue(1024);
  EXPECT_TRUE(Recorder().Scrubbing());
  EXPECT_EQ(Recorder().Position(), 50);
  EXPECT_EQ(OutputLevel(), 51);
  window->PlayScrBar()->setValue(2048);  // the end shows the last frame
  EXPECT_EQ(OutputLevel(), 100);
  window->PlayScrBar()->setValue(0);
  EXPECT_EQ(OutputLevel(), 1);

  QFocusEvent toWindow(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(window->PlayScrBar(), &toWindow);
  EXPECT_TRUE(Recorder().Scrubbing());  // looking at the plot keeps the frame
  QFocusEvent toControl(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(window->PlayScrBar(), &toControl);
  EXPECT_FALSE(Recorder().Scrubbing());

  window->PlayScrBar()->setValue(1024);
  window->PlayAction()->trigger();
  EXPECT_TRUE(Recorder().Playing());
  EXPECT_EQ(Recorder().Position(), 50);
  // While paused the bar moves the playback.
  window->PauseAction()->trigger();
  window->PlayScrBar()->setValue(512);
  EXPECT_EQ(Recorder().Position(), 25);
  EXPECT_TRUE(Recorder().Playing());
  window->PlayAction()->trigger();
  EXPECT_FALSE(Recorder().Paused());
}

// At the end of playback the bar jumps to its end and the state returns to "RDY".
TEST_F(RecorderWindowTest, TheEndOfPlayback) {
  Open(WriteRecording("short.dat", 3));
  window->TopPlayAction()->trigger();
  EXPECT_EQ(State(), "PLY");
  Cycles(8);
  EXPECT_TRUE(Recorder().EndReached());
  EXPECT_EQ(State(), "RDY");
  EXPECT_EQ(window->PlayScrBar()->value(), THdrToolFrm::kScrollMax);
  EXPECT_FALSE(Recorder().EndReached());
  EXPECT_TRUE(window->TopPlayAction()->isEnabled());
  EXPECT_FALSE(window->StopAction()->isEnabled());
}

// A recording stopped by a full disk is shown in the window with the reason.
TEST_F(RecorderWindowTest, AWriteErrorStopsTheRecordingVisibly) {
  window->RecAction()->trigger();
  {
    test::FileSizeLimit limit(512 + 2 * kFrame);
    Cycles(6, 50);
  }
  ASSERT_TRUE(Recorder().RecordFailed());
  EXPECT_EQ(State(), "RDY");
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].startsWith("記録が停止しました\n")) << errors[0].toStdString();
  EXPECT_TRUE(errors[0].contains("20240131_235959.dat"));
  EXPECT_FALSE(Recorder().RecordFailed());
  EXPECT_EQ(window->windowTitle(), "HDR [20240131_235959.dat (4096ch. 00:00:00.04)]");
  EXPECT_TRUE(window->RecAction()->isEnabled());
  window->Timer1Timer();
  EXPECT_EQ(errors.size(), 1);  // told once
}

// Closing the window stops the recorder, finishes the recording's header and keeps
// the window's place.
TEST_F(RecorderWindowTest, ClosingStopsTheRecorder) {
  window->show();
  EXPECT_TRUE(window->Timer1()->isActive());
  EXPECT_EQ(window->Timer1()->interval(), 50);
  window->RecAction()->trigger();
  Cycles(3, 80);
  window->close();
  EXPECT_FALSE(Recorder().Recording());
  EXPECT_FALSE(window->Timer1()->isActive());
  HdrHeader header;
  ASSERT_TRUE(Recorder().ReadHeader(window->CurrentFile(), &header, false));
  EXPECT_EQ(header.FrameCount(), Recorder().TotalFrames());
  EXPECT_GT(header.FrameCount(), 0);
  EXPECT_TRUE(window->windowTitle().startsWith("HDR [20240131_235959.dat (4096ch. "));
  EXPECT_TRUE(core->Ini().KeyExists("General", "HdrToolLeft"));
  EXPECT_FALSE(core->Ini().KeyExists("General", "HdrToolWidth"));
}

// The Tools menu command shows the window 150 pixels right of and below the main
// window's corner, on top of the others.
TEST(RecorderWindowCommand, ToolsMenuShowsTheWindow) {
  test::TestApplication();
  test::TempDir dir;
  auto core = std::make_unique<TAppCore>(test::LoopbackCoreSetup(dir.Path()));
  TMainFormSetup setup;
  setup.Prompts = TPrompts::Default();
  setup.Prompts.Error = [](const QString&, const QString&) {};
  auto form = std::make_unique<TLumaplotForm>(*core, std::move(setup));
  form->show();
  QApplication::processEvents();
  QAction* command = form->Action(TActionId::ToolHdrAction);
  EXPECT_EQ(command->text(), "HDレコーダ(&R)");
  command->trigger();
  THdrToolFrm* recorder = form->Dialogs().Find<THdrToolFrm>();
  ASSERT_NE(recorder, nullptr);
  EXPECT_TRUE(recorder->isVisible());
  EXPECT_TRUE(recorder->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(recorder->pos(), form->frameGeometry().topLeft() + QPoint(150, 150));
  EXPECT_EQ(recorder->StateLabel()->text(), "RDY");
  EXPECT_EQ(recorder->TimeLabel()->text(), "00:00:00.00");
  EXPECT_EQ(recorder->PlayScrBar()->maximum(), 2048);
  form->hide();
  form.reset();
  core.reset();
}

}  // namespace
}  // namespace lumaplot
