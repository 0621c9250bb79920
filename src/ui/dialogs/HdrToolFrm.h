#pragma once
// THdrToolFrm ("HDレコーダ"): the small tool window of the recorder, always on top.
// It records the incoming levels into a new file named after the date and time in
// the recorder folder (`HdrDir`), plays a recording from the start or from the
// scroll bar's position, pauses, stops, positions a stopped recording with the
// scroll bar (the stage then shows that frame), opens a recording file and saves a
// copy of it. A state label (RDY, STB while waiting for the first level, REC, PLY),
// the time of the position and the scroll bar follow the recorder on a 50 ms timer,
// which also starts a new file after every whole hour of recording and shows a
// recording stopped by a write error with its reason.
//
// The recorder (THdrRecorder, owned by the application core) does the work on the
// engine thread; this window only calls its GUI-thread operations. Closing the
// window stops any recording or playback. Created once and reused; the core must
// outlive it. GUI thread only.
#include <QWidget>

#include <chrono>
#include <functional>
#include <string>

#include "dmx/HdrHeader.h"
#include "ui/dialogs/DialogContext.h"

class QAction;
class QFrame;
class QLabel;
class QScrollBar;
class QTimer;
class QToolBar;

namespace lumaplot {

class THdrRecorder;

class THdrToolFrm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kScrollMax = 2048;
  static constexpr int kTimerMs = 50;
  static constexpr int kClientWidth = 392;
  static constexpr int kClientHeight = 69;

  THdrToolFrm(const TDialogContext& context, QWidget* parent);
  ~THdrToolFrm() override;

  // The wall clock that names new recordings; tests set a fixed one.
  std::function<std::chrono::system_clock::time_point()> Now;

  // The recording file the window works on; empty until one is opened or recorded.
  const std::string& CurrentFile() const { return CurrentFile_; }

  // --- Handlers, reachable for tests ---
  void Timer1Timer();
  // Re-evaluates every action's enabling rule (and the scroll bar's).
  void UpdateActions();
  void FileOpenActionExecute();
  void SaveAsActionExecute();
  void RecActionExecute();
  void TopPlayActionExecute();
  void PlayActionExecute();
  void PauseActionExecute();
  void StopActionExecute();
  // The user moved the scroll bar to `position`.
  void PlayScrBarScroll(int position);
  // The scroll bar lost the focus to another control of the window.
  void PlayScrBarExit();

  QAction* TopPlayAction() const { return TopPlayAction_; }
  QAction* PlayAction() const { return PlayAction_; }
  QAction* PauseAction() const { return PauseAction_; }
  QAction* StopAction() const { return StopAction_; }
  QAction* RecAction() const { return RecAction_; }
  QAction* FileOpenAction() const { return FileOpenAction_; }
  QAction* SaveAsAction() const { return SaveAsAction_; }
  QLabel* StateLabel() const { return StateLabel_; }
  QLabel* TimeLabel() const { return TimeLabel_; }
  QScrollBar* PlayScrBar() const { return PlayScrBar_; }
  QToolBar* ToolBar1() const { return ToolBar1_; }
  QTimer* Timer1() const { return Timer1_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAction* MakeAction(const char* name, const char* caption, const char* icon,
                      void (THdrToolFrm::*handler)());
  void FormShow();
  void FormClose();
  // The caption for CurrentFile, with the header's frame size and length when given.
  void SetCaption(const HdrHeader* header);
  void SetBarPosition(int position);
  void ShowStateLabel();
  void Failed(const QString& what, const std::string& reason);

  TDialogContext context_;
  THdrRecorder& recorder_;
  std::string CurrentFile_;
  HdrHeader HeaderCopy_;  // the header of the file last opened with FileOpenAction
  int blink_ = 0;

  QFrame* OpePanel_;
  QLabel* StateLabel_;
  QLabel* TimeLabel_;
  QScrollBar* PlayScrBar_;
  QToolBar* ToolBar1_;
  QAction* TopPlayAction_;
  QAction* PlayAction_;
  QAction* PauseAction_;
  QAction* StopAction_;
  QAction* RecAction_;
  QAction* FileOpenAction_;
  QAction* SaveAsAction_;
  QTimer* Timer1_;
};

}  // namespace lumaplot
