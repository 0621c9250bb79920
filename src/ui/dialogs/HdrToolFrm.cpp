#include "ui/dialogs/HdrToolFrm.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include <QAction>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "core/AppCore.h"
#include "dmx/HdrNames.h"
#include "dmx/HdrRecorder.h"
#include "ui/qt/ColorConvert.h"
#include "ui/qt/Prompts.h"
#include "ui/qt/WindowState.h"
#include "util/FileIo.h"

namespace lumaplot {
namespace {

constexpr const char* kPrefix = "HdrTool";
constexpr int kDefaultOffset = 150;  // from the main window's corner
constexpr const char* kCaption = "HDレコーダ";

// Colours as the program writes them, 0x00BBGGRR.
constexpr int32_t kTeal = 0x808000;
constexpr int32_t kNavy = 0x800000;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kFuchsia = 0xFF00FF;
constexpr int32_t kLime = 0x00FF00;
constexpr int32_t kGreen = 0x008000;

constexpr int kStateWidth = 44;
constexpr int kTimeWidth = 140;
constexpr int kLabelHeight = 25;
constexpr int kLabelPixels = 21;
constexpr int kIconSize = 20;

// A bold monospaced Japanese face, as the labels of a tape counter.
QFont LabelFont() {
  QFont font;
  font.setFamilies({"IPAGothic", "Noto Sans Mono CJK JP", "monospace"});
  font.setStyleHint(QFont::Monospace);
  font.setPixelSize(kLabelPixels);
  font.setBold(true);
  return font;
}

QLabel* MakeLabel(const char* name, const QString& text, int width, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setFixedSize(width, kLabelHeight);
  label->setAlignment(Qt::AlignCenter);
  label->setFont(LabelFont());
  label->setAutoFillBackground(true);
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, ToQColor(kNavy));
  palette.setColor(QPalette::WindowText, ToQColor(kWhite));
  label->setPalette(palette);
  return label;
}

void SetTextColour(QLabel* label, int32_t colour) {
  QPalette palette = label->palette();
  const QColor wanted = ToQColor(colour);
  if (palette.color(QPalette::WindowText) == wanted) return;
  palette.setColor(QPalette::WindowText, wanted);
  label->setPalette(palette);
}

bool PathTaken(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

THdrToolFrm::THdrToolFrm(const TDialogContext& context, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      Now([] { return std::chrono::system_clock::now(); }),
      context_(context),
      recorder_(context.Core.Recorder()),
      OpePanel_(new QFrame(this)),
      StateLabel_(MakeLabel("StateLabel", "RDY", kStateWidth, OpePanel_)),
      TimeLabel_(MakeLabel("TimeLabel", "00:00:00.00", kTimeWidth, OpePanel_)),
      PlayScrBar_(new QScrollBar(Qt::Horizontal, OpePanel_)),
      ToolBar1_(new QToolBar(OpePanel_)),
      TopPlayAction_(MakeAction("TopPlayAction", "先頭から再生", ":/tools/53_top_play.svg",
                                &THdrToolFrm::TopPlayActionExecute)),
      PlayAction_(
          MakeAction("PlayAction", "再生", ":/tools/50_play.svg", &THdrToolFrm::PlayActionExecute)),
      PauseAction_(MakeAction("PauseAction", "ポーズ", ":/tools/51_pause.svg",
                              &THdrToolFrm::PauseActionExecute)),
      StopAction_(
          MakeAction("StopAction", "停止", ":/tools/52_stop.svg", &THdrToolFrm::StopActionExecute)),
      RecAction_(
          MakeAction("RecAction", "記録", ":/tools/54_rec.svg", &THdrToolFrm::RecActionExecute)),
      FileOpenAction_(MakeAction("FileOpenAction", "データファイルを開く", ":/tools/open.svg",
                                 &THdrToolFrm::FileOpenActionExecute)),
      SaveAsAction_(MakeAction("SaveAsAction", "名前を付けて保存(&A)", "",
                               &THdrToolFrm::SaveAsActionExecute)),
      Timer1_(new QTimer(this)) {
  setObjectName("HdrToolFrm");
  setWindowTitle(kCaption);

  OpePanel_->setObjectName("OpePanel");
  OpePanel_->setAutoFillBackground(true);
  QPalette panel = OpePanel_->palette();
  panel.setColor(QPalette::Window, ToQColor(kTeal));
  OpePanel_->setPalette(panel);
  SetTextColour(StateLabel_, kGreen);

  PlayScrBar_->setObjectName("PlayScrBar");
  PlayScrBar_->setRange(0, kScrollMax);
  PlayScrBar_->setFocusPolicy(Qt::StrongFocus);
  PlayScrBar_->installEventFilter(this);
  // Only the user's moves arrive here: the window moves the bar with signals blocked.
  connect(PlayScrBar_, &QScrollBar::valueChanged, this,
          [this](int position) { PlayScrBarScroll(position); });

  ToolBar1_->setObjectName("ToolBar1");
  ToolBar1_->setIconSize(QSize(kIconSize, kIconSize));
  ToolBar1_->setMovable(false);
  ToolBar1_->setStyleSheet("QToolBar { background: transparent; border: none; }");
  ToolBar1_->addActions({TopPlayAction_, PlayAction_, PauseAction_, StopAction_});
  ToolBar1_->addSeparator();
  ToolBar1_->addAction(RecAction_);
  ToolBar1_->addSeparator();
  ToolBar1_->addAction(FileOpenAction_);
  FileOpenAction_->setToolTip("データファイルを開く");

  // The pop-up menu of the panel holds every command, the copy among them.
  OpePanel_->setContextMenuPolicy(Qt::ActionsContextMenu);
  OpePanel_->addActions({TopPlayAction_, PlayAction_, PauseAction_, StopAction_});
  auto* separator1 = new QAction(this);
  separator1->setSeparator(true);
  auto* separator2 = new QAction(this);
  separator2->setSeparator(true);
  OpePanel_->addActions({separator1, RecAction_, separator2, FileOpenAction_, SaveAsAction_});

  auto* top = new QHBoxLayout;
  top->setContentsMargins(0, 0, 0, 0);
  top->setSpacing(4);
  top->addWidget(StateLabel_);
  top->addWidget(TimeLabel_);
  top->addWidget(ToolBar1_, 1);
  auto* panelLayout = new QVBoxLayout(OpePanel_);
  panelLayout->setContentsMargins(4, 4, 4, 4);
  panelLayout->setSpacing(4);
  panelLayout->addLayout(top);
  panelLayout->addWidget(PlayScrBar_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(OpePanel_);
  // A tool-window border: the size is the panel's, not the user's.
  setFixedSize(std::max(kClientWidth, OpePanel_->sizeHint().width()),
               std::max(kClientHeight, OpePanel_->sizeHint().height()));

  Timer1_->setObjectName("Timer1");
  Timer1_->setInterval(kTimerMs);
  connect(Timer1_, &QTimer::timeout, this, [this] { Timer1Timer(); });
  UpdateActions();
}

THdrToolFrm::~THdrToolFrm() = default;

QAction* THdrToolFrm::MakeAction(const char* name, const char* caption, const char* icon,
                                 void (THdrToolFrm::*handler)()) {
  auto* action = new QAction(QString::fromUtf8(caption), this);
  action->setObjectName(name);
  if (*icon) action->setIcon(QIcon(icon));
  connect(action, &QAction::triggered, this, [this, handler] {
    (this->*handler)();
    UpdateActions();
  });
  return action;
}

// --- Showing and closing ---

void THdrToolFrm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void THdrToolFrm::FormShow() {
  const QWidget* main = parentWidget();
  const QPoint corner = main ? main->frameGeometry().topLeft() : QPoint();
  LoadFormPos(context_.Core.Ini(), kPrefix, this, corner.x() + kDefaultOffset,
              corner.y() + kDefaultOffset, 0, 0);
  Timer1_->start();
  UpdateActions();
}

void THdrToolFrm::closeEvent(QCloseEvent* event) {
  if (isVisible()) FormClose();
  QWidget::closeEvent(event);
}

void THdrToolFrm::FormClose() {
  Timer1_->stop();
  std::string error;
  const bool wasRecording = recorder_.Recording();
  if (!recorder_.Stop(&error) && wasRecording) Failed("記録を終了できませんでした", error);
  if (!CurrentFile_.empty()) {
    const HdrHeader header = recorder_.Header();
    SetCaption(&header);
  }
  SaveFormPos(context_.Core.Ini(), kPrefix, this);
}

// --- What the window shows ---

void THdrToolFrm::SetCaption(const HdrHeader* header) {
  setWindowTitle(CurrentFile_.empty()
                     ? QString(kCaption)
                     : QString::fromStdString(RecordingCaption(CurrentFile_, header, recorder_)));
}

void THdrToolFrm::SetBarPosition(int position) {
  const QSignalBlocker quiet(PlayScrBar_);
  PlayScrBar_->setValue(position);
}

void THdrToolFrm::ShowStateLabel() {
  if (recorder_.Recording()) {
    SetTextColour(StateLabel_, blink_ % 10 < 5 ? kRed : kFuchsia);
    StateLabel_->setText(recorder_.WaitSignal() ? "STB" : "REC");
  } else if (recorder_.Playing()) {
    SetTextColour(StateLabel_, kLime);
    StateLabel_->setText("PLY");
  } else {
    SetTextColour(StateLabel_, kGreen);
    StateLabel_->setText("RDY");
  }
}

void THdrToolFrm::Failed(const QString& what, const std::string& reason) {
  context_.Prompts.Error(what + "\n" + QString::fromStdString(reason), {});
}

void THdrToolFrm::UpdateActions() {
  const bool recording = recorder_.Recording();
  const bool playing = recorder_.Playing();
  const bool paused = recorder_.Paused();
  const bool hasFile = !CurrentFile_.empty();
  FileOpenAction_->setEnabled(!recording && !playing);
  SaveAsAction_->setEnabled(!recording && !playing);
  RecAction_->setEnabled(!recording && !playing);
  TopPlayAction_->setEnabled(hasFile && !recording && !playing);
  PlayAction_->setEnabled(hasFile && !recording && (!playing || paused));
  PauseAction_->setEnabled(playing);
  // Stop also ends positioning with the bar, which otherwise holds the stage on
  // the recording's frame until the window closes.
  StopAction_->setEnabled(recording || playing || recorder_.Scrubbing());
  // Moving the bar while recording would take the file from the recording.
  PlayScrBar_->setEnabled(hasFile && !recording);
}

void THdrToolFrm::Timer1Timer() {
  ++blink_;
  ShowStateLabel();
  TimeLabel_->setText(QString::fromStdString(recorder_.TimeText(recorder_.Position())));
  if (recorder_.Playing() && !recorder_.Paused()) {
    SetBarPosition(static_cast<int>(std::trunc(recorder_.PositionRatio() * kScrollMax)));
  } else if (recorder_.EndReached()) {
    SetBarPosition(kScrollMax);
    recorder_.ClearEndReached();
  }
  if (recorder_.RecordFailed()) {
    // The recorder stopped itself and finished the file; the window says why.
    const std::string reason = recorder_.TakeRecordError();
    const HdrHeader header = recorder_.Header();
    SetCaption(&header);
    ShowStateLabel();
    UpdateActions();
    Failed("記録が停止しました", reason);
  }
  if (recorder_.Recording() && recorder_.HourReached()) {
    std::string error;
    if (!recorder_.Stop(&error)) Failed("記録を終了できませんでした", error);
    RecActionExecute();
  }
  UpdateActions();
}

// --- Commands ---

void THdrToolFrm::FileOpenActionExecute() {
  TFileDialogRequest request;
  request.Title = "データファイルを開く";
  request.Filter = "データ(*.dat)|*.DAT";
  request.DefaultExt = "dat";
  request.Folder = QString::fromStdString(context_.Core.Env().HdrDir);
  request.FileName = "*.dat";
  const QString chosen = context_.Prompts.OpenFileName(request);
  if (chosen.isEmpty()) return;
  const std::string file = chosen.toStdString();
  HdrHeader header;
  if (!recorder_.ReadHeader(file, &header, true)) {
    context_.Prompts.Warning("不正なデータファイルです", {});
    return;
  }
  CurrentFile_ = file;
  HeaderCopy_ = header;
  SetCaption(&HeaderCopy_);
  SetBarPosition(0);
}

void THdrToolFrm::SaveAsActionExecute() {
  if (CurrentFile_.empty() || recorder_.Header().FrameCount() == 0) return;
  // The file being written cannot be copied whole.
  if (recorder_.Recording()) return;
  TFileDialogRequest request;
  request.Title = "保存";
  request.Filter = "HDRデータ (*.dat)|*.DAT";
  request.DefaultExt = "dat";
  request.Folder = QString::fromStdString(FolderOf(CurrentFile_));
  request.FileName = QString::fromStdString(FileNamePart(CurrentFile_));
  request.ConfirmOverwrite = false;  // asked below
  const QString chosen = context_.Prompts.SaveFileName(request);
  if (chosen.isEmpty()) return;
  const std::string target = chosen.toStdString();
  if (FileExists(target)) {
    const bool yes =
        context_.Prompts.YesNo
            ? context_.Prompts.YesNo("上書きしてもいいですか?", {})
            : context_.Prompts.YesNoCancel("上書きしてもいいですか?", {}) == QMessageBox::Yes;
    if (!yes) return;
  }
  // A temporary file takes the old one's place only when the copy is whole.
  std::string error;
  if (CopyFileAtomically(CurrentFile_, target, &error)) {
    CurrentFile_ = target;
  } else {
    Failed("失敗しました", error);
  }
  SetCaption(nullptr);
}

void THdrToolFrm::RecActionExecute() {
  SetBarPosition(0);
  const std::string folder = context_.Core.Env().HdrDir;
  std::error_code ignored;
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  const std::string previous = CurrentFile_;
  CurrentFile_ = RecordingFileName(folder, Now(), PathTaken);
  SetCaption(nullptr);
  recorder_.SetWaitSignal(true);
  std::string error;
  if (!recorder_.StartRecord(CurrentFile_, &error)) {
    // No file was made: the window stays with the file it had.
    CurrentFile_ = previous;
    SetCaption(nullptr);
    Failed("記録を開始できませんでした", error);
  }
  ShowStateLabel();
}

void THdrToolFrm::TopPlayActionExecute() {
  if (recorder_.Playing()) recorder_.Stop();
  std::string error;
  if (!recorder_.StartPlay(CurrentFile_, 0, &error)) Failed("再生できませんでした", error);
  ShowStateLabel();
}

void THdrToolFrm::PlayActionExecute() {
  if (recorder_.Playing() && recorder_.Paused()) {
    recorder_.Resume();
    return;
  }
  recorder_.SetRepeatLimit(1);
  std::string error;
  const double ratio = static_cast<double>(PlayScrBar_->value()) / PlayScrBar_->maximum();
  if (!recorder_.StartPlayAt(CurrentFile_, ratio, &error)) Failed("再生できませんでした", error);
  ShowStateLabel();
}

void THdrToolFrm::PauseActionExecute() {
  if (recorder_.Paused()) {
    recorder_.Resume();
  } else {
    recorder_.Pause();
  }
}

void THdrToolFrm::StopActionExecute() {
  std::string error;
  const bool wasRecording = recorder_.Recording();
  if (!recorder_.Stop(&error) && wasRecording) Failed("記録を終了できませんでした", error);
  const HdrHeader header = recorder_.Header();
  SetCaption(CurrentFile_.empty() ? nullptr : &header);
  ShowStateLabel();
}

void THdrToolFrm::PlayScrBarScroll(int position) {
  if (recorder_.Recording() || CurrentFile_.empty()) return;
  const bool positioning = recorder_.Scrubbing() || (recorder_.Playing() && recorder_.Paused());
  if (!positioning) {
    // Playing on: the bar follows the playback.
    if (recorder_.Playing()) return;
    if (!recorder_.Open(CurrentFile_, false)) return;
    recorder_.SetScrubbing(true);
  }
  // The first move already shows its frame; the bar's end shows the last frame.
  const int frames = recorder_.TotalFrames();
  if (frames <= 0) return;
  const auto frame =
      static_cast<int>(std::trunc(static_cast<double>(frames) * position / PlayScrBar_->maximum()));
  recorder_.Seek(std::min(frame, frames - 1));
  UpdateActions();
}

void THdrToolFrm::PlayScrBarExit() {
  if (recorder_.Scrubbing()) recorder_.Stop();
  UpdateActions();
}

bool THdrToolFrm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == PlayScrBar_ && event->type() == QEvent::FocusOut) {
    // Only a move to another control of this window counts, as the focus leaving
    // a control within its form: looking at the plot keeps the frame shown.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      PlayScrBarExit();
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace lumaplot
